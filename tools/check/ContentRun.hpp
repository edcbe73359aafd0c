#pragma once
// The game's own start-up on the headless backend, watched: the program and scene are built, the content
// is loaded by the game's loaders in the game's order, and every level that can start is started once.
// Records which file each entry came from, the debug-log lines and image loads each file caused, and
// which stations each level showed where. The checks read only this record and the loaded game state.

#include "platform/ImageRequest.hpp"

#include <map>
#include <string>
#include <vector>

struct TLevel;
struct TStation;

struct TLogLine {
    std::string file; // the content file being loaded or started; empty during the program's start-up
    std::string text;
};

struct TShownStation {
    const TStation* station = nullptr;
    int x = 0, y = 0, w = 0, h = 0;
    bool placed = false; // the level itself put it there
};

struct TLevelStart {
    const TLevel* level = nullptr;
    std::vector<TShownStation> shown;
};

struct TContentRun {
    std::vector<std::string> itemFiles, actionFiles, stationFiles, levelFiles;
    std::vector<TLogLine> log;
    std::vector<TImageRequest> images;
    std::vector<TLevelStart> starts;

    void Run();
    // The file an item, action, station or level was loaded from.
    std::string FileOf(const void* entry) const;

  private:
    std::string current;
    std::map<const void*, std::string> entryFiles;

    void LoadKind(const std::string& directory, std::vector<std::string>& files,
                  const void* (*load)(const std::string&));
    void StartLevel(TLevel& level);
};
