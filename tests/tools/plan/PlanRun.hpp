#pragma once
// Runs the built gorum-plan on a game folder and a level, and keeps what it printed and its exit status;
// and names the levels of the game in the working directory, read as the game reads them.

#include "rules/ContentFile.hpp"

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

struct TPlanRun {
    int status = -1;
    std::string output;

    static TPlanRun Of(const std::string& arguments) {
        TPlanRun run;
        FILE* pipe = popen((std::string(GORUM_PLAN_PATH) + " " + arguments + " 2>&1").c_str(), "r");
        if (pipe == nullptr) return run;
        std::array<char, 4096> buffer{};
        while (const size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
            run.output.append(buffer.data(), n);
        const int raw = pclose(pipe);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return run;
    }
    bool Says(const std::string& text) const { return output.find(text) != std::string::npos; }
};

inline std::vector<std::string> LevelNames() {
    std::vector<std::string> names;
    TContentFile::LoadDirectory("content/levels", [&](const std::string& path) {
        TContentFile file = TContentFile::Open(path);
        names.push_back(TContentFile::QuotedArg(file.FindSingle("NAME="), 0));
        file.Close();
    });
    return names;
}
