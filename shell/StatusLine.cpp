#include "shell/StatusLine.hpp"

#include "panels/GlobalGadgets.hpp"
#include "rules/Player.hpp"
#include "scene/Motivation.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Level.hpp"

#include <algorithm>

std::string StatusLine() {
    if (WorldHidden || CurrentLevel == nullptr) return "";
    // After the last turn the week counter runs one past the level's end.
    const int week = std::clamp(CurrentWeek, 1, std::max(1, LevelLength));
    return "Week " + std::to_string(week) + " of " + std::to_string(LevelLength) + " \u00b7 Motivation " +
           std::to_string(TMotivation::Shown());
}

void UpdateStatusLine() {
    SetStatusText(MainWindow, StatusLine());
}
