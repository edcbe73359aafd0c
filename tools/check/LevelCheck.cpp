// Levels: a name a menu link can carry, a length that leaves a week to play, an item choice the goal menu
// can hold, and a tutorial page that exists.
#include "platform/Platform.hpp"
#include "rules/GoalMenu.hpp"
#include "shell/Level.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

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
        if (tutorial != "NULL" && FileKind(tutorial) != 1) {
            const std::string shown = tutorial.rfind(root, 0) == 0 ? tutorial.substr(root.size()) : tutorial;
            report.Add(file, "tutorial page " + Quoted(shown) + " does not exist");
        }
    }
}
