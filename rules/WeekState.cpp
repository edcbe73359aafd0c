#include "rules/WeekState.hpp"

#include "scene/TimeBar.hpp"

TWeekState TWeekState::Save() {
    return {Player, CurrentWeek};
}

void TWeekState::Restore() const {
    Player = player;
    TTimeBar::GoToWeek(week);
}
