// The pages the game shows, from the main menu and every level's tutorial through the local pages they lead
// to: each must be a file the game can read, and nothing on it may point outside the game folder or off the
// machine, since the game loads only its own files.
#include "platform/Platform.hpp"
#include "shell/Level.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentLines.hpp"
#include "tools/check/ContentRun.hpp"
#include "tools/check/PageRefs.hpp"
#include "tools/check/PageTarget.hpp"

#include <deque>
#include <set>

namespace {

bool IsPage(const std::string& file) {
    return file.ends_with(".html") || file.ends_with(".htm");
}

} // namespace

void CheckPages(const TContentRun&, TCheckReport& report) {
    const std::string root = CurrentDirectory() + "/";
    std::deque<std::string> pages;
    std::set<std::string> seen;
    const auto show = [&](const std::string& file) {
        if (FileKind(file) == 1 && seen.insert(file).second) pages.push_back(file);
    };
    show(MainMenuPage);
    for (const auto& level : LevelRegistry) {
        // A tutorial outside content/tut is the level check's to name; the game shows none.
        const TTarget tutorial = PageTarget(root, "", level->TutorialPath);
        if (level->TutorialPath != "NULL" && tutorial.reach == TReach::Game &&
            tutorial.file.starts_with(TutorialFolder))
            show(tutorial.file);
    }
    while (!pages.empty()) {
        const std::string page = pages.front();
        pages.pop_front();
        std::string refusal;
        const std::string html = FileText(page, &refusal);
        if (!refusal.empty()) report.Add(page, refusal);
        for (const TPageRef& ref : PageRefs(html)) {
            const TTarget target = PageTarget(root, page, ref.address);
            const std::string named = ref.where + " " + Quoted(ref.address);
            if (target.reach == TReach::OffMachine)
                report.Add(page, named + " leads off the machine: the game loads only its own files");
            else if (target.reach == TReach::Outside)
                report.Add(page, named + " leads outside the game folder: the game loads only its own files");
            else if (target.reach == TReach::Game && IsPage(target.file))
                show(target.file);
        }
    }
}
