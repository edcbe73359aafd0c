#pragma once
// Runs seal-driver as the game would run: from a game folder of the test's own, with private home,
// temporary, cache, data and configuration folders, under strace unless told otherwise, watching the
// resident size of the whole process tree. Whatever the run leaves running is ended with it.

#include <filesystem>
#include <string>
#include <vector>

struct TGameFolder {
    std::filesystem::path root; // holds the game folder, the private folders and the trace
    std::filesystem::path game, scratch, temporary;
    TGameFolder();
    ~TGameFolder();
    // A page under content/html, named by its title.
    void Page(const std::string& name, const std::string& head, const std::string& body) const;
    // Every file or folder a run left in the private folders.
    std::vector<std::string> LeftBehind() const;
};

struct TRunOptions {
    bool traced = true;    // under strace, writing root/trace
    std::string tmpdir;    // TMPDIR; the private one when empty
    bool fullDisk = false; // no file may grow past 0 bytes, as on a full disk
    int timeoutMs = 60000;
    long killAboveKb = 0; // ends the run once the tree holds more than this
};

struct TRun {
    int exitCode = -1;
    std::string out, err;
    long peakKb = 0; // the largest resident size of the whole tree seen while it ran
    bool timedOut = false;
};

TRun RunDriver(const TGameFolder& folder, const std::vector<std::string>& arguments,
               const TRunOptions& options);
