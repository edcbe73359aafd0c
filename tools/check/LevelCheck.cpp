// Levels: a name a menu link can carry, a length that leaves a week to play, an item choice the goal menu
// can hold, and a tutorial page that exists inside content/tut.
#include "platform/Platform.hpp"
#include "rules/GoalMenu.hpp"
#include "shell/Level.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"
#include "tools/check/PageTarget.hpp"

void CheckLevels(const TContentRun& run, TCheckReport& report) {
    const std::string root = CurrentDirectory() + "/";
    const size_t mostItems = static_cast<size_t>(MaxItemChoices);
    for (const auto& level : LevelRegistry) {
        const std::string file = run.FileOf(level.get());
        if (level->Name.size() != 2)
            report.Add(file,
                       "name " + Quoted(level->Name) + " is not two characters: no menu link can start it");
        // The final goal is judged at the end of the week before its deadline week.
        if (level->Length < 2)
            report.Add(file, "LENGTH " + std::to_string(level->Length) + " leaves no week to play");
        if (level->ItemTags.size() > mostItems) {
            report.Add(file, "offers " + std::to_string(level->ItemTags.size()) + " items, more than " +
                                 std::to_string(mostItems) +
                                 ": the game stops with \"Too many item choices!\"");
        }
        const std::string& tutorial = level->TutorialPath;
        if (tutorial == "NULL") continue;
        const TTarget page = PageTarget(root, "", tutorial);
        if (page.reach != TReach::Game || !(page.file + "/").starts_with(TutorialFolder)) {
            const std::string written = tutorial.starts_with(root) ? tutorial.substr(root.size()) : tutorial;
            report.Add(file, "tutorial page " + Quoted(written) + " leads outside " + TutorialFolder +
                                 ": the game shows no tutorial");
        } else if (FileKind(tutorial) != 1) {
            report.Add(file, "tutorial page " + Quoted(page.file) +
                                 (FileKind(tutorial) == 2 ? " is a folder, not a page" : " does not exist"));
        }
    }
}
