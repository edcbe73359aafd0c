// The game's own warnings and errors, with the file that caused them. Its chatter (radial sizes, levels
// without a tutorial) is not a mistake and is left out, and so is a missing tutorial page, which the level
// check names for every level, started or not.
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool IsProblem(const std::string& text) {
    for (const char* prefix :
         {"ERROR", "WARNING", "Error", "LOG: Failed", "LOG: Cannot", "LOG: Asset does not"}) {
        if (StartsWith(text, prefix)) return true;
    }
    return EndsWith(text, " isn't valid!");
}

} // namespace

void CheckLogLines(const TContentRun& run, TCheckReport& report) {
    const std::string failedLoad = "LOG: Failed to load image: ";
    for (const TLogLine& line : run.log) {
        if (!IsProblem(line.text)) continue;
        if (line.file.empty()) {
            // The program's own art: the media check names the file and says what is wrong with it.
            if (StartsWith(line.text, failedLoad)) continue;
            report.Add("start-up", line.text);
        } else {
            report.Add(line.file, line.text);
        }
    }
}
