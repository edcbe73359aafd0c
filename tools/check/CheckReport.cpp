#include "tools/check/CheckReport.hpp"

#include <cstdio>
#include <set>
#include <utility>

void TCheckReport::Add(const std::string& file, const std::string& text) {
    problems.push_back({file, text});
}

int TCheckReport::Print() const {
    // Files in the order each first appeared, so related lines stay together.
    std::vector<std::string> files;
    std::set<std::string> seenFiles;
    for (const TProblem& p : problems) {
        if (seenFiles.insert(p.file).second) files.push_back(p.file);
    }
    std::set<std::pair<std::string, std::string>> printed;
    for (const std::string& file : files) {
        for (const TProblem& p : problems) {
            if (p.file != file || !printed.insert({p.file, p.text}).second) continue;
            std::printf("%s: %s\n", p.file.c_str(), p.text.c_str());
        }
    }
    return static_cast<int>(printed.size());
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}
