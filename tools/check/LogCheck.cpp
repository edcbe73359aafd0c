// The game's own warnings and errors, with the file that caused them. Its chatter (radial sizes, levels
// without a tutorial) is not a mistake and is left out, and so is a missing tutorial page, which the level
// check names for every level, started or not.
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentLines.hpp"
#include "tools/check/ContentRun.hpp"

namespace {

bool Mentions(const std::string& file, const std::string& text) {
    return !file.empty() && FileText(file).find(text) != std::string::npos;
}

bool IsProblem(const std::string& text) {
    for (const char* prefix :
         {"ERROR", "WARNING", "Error", "LOG: Failed", "LOG: Cannot", "LOG: Asset does not"}) {
        if (text.starts_with(prefix)) return true;
    }
    return text.ends_with(" isn't valid!");
}

} // namespace

void CheckLogLines(const TContentRun& run, TCheckReport& report) {
    const std::string failedLoad = "LOG: Failed to load image: ";
    for (const TLogLine& line : run.log) {
        if (!IsProblem(line.text)) continue;
        // A picture the file does not name is the program's own art (a level start loads some): the
        // media check names the picture and says what is wrong with it.
        if (line.text.starts_with(failedLoad) && !Mentions(line.file, line.text.substr(failedLoad.size())))
            continue;
        report.Add(line.file.empty() ? "start-up" : line.file, line.text);
    }
}
