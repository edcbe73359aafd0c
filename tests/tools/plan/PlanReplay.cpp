#include "tests/tools/plan/PlanReplay.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/Prompt.hpp"
#include "panels/StatsPanel.hpp"
#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/GoalMenu.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Main.hpp"
#include "shell/SceneAssembly.hpp"

#include <cmath>
#include <fstream>
#include <regex>

namespace {

constexpr uint64_t TickMs = 16;
constexpr uint64_t SqueezeWaitMs = SqueezeMs + 100;
constexpr int SettleTicks = 1200;
constexpr double MotivationTolerance = 0.006;
constexpr int FarAway = 400;
const char* const SkillKeys[SkillCount] = {"FITNESS", "MENTAL", "SOCIAL", "WEALTH", "LEADERSHIP"};

// Failures end the replay: the first one is the report.
struct TReplay {
    std::string failure;
    bool Fail(const std::string& what) {
        if (failure.empty()) failure = what;
        return false;
    }
};

void Wait(uint64_t ms) {
    HeadlessAdvanceClock(ms);
    RunMainLoop();
    HeadlessClearDrawCalls();
}

void Tick() {
    Wait(TickMs);
}

void Pointer(int id, int x, int y, int button) {
    TEvent event;
    event.id = id;
    event.source = GameCanvas;
    event.x = x;
    event.y = y;
    event.data = button;
    HeadlessEmit(event);
}

void MoveTo(int x, int y) {
    Pointer(MouseMove, x, y, 0);
    Tick();
}

void Press() {
    Pointer(MouseDown, 0, 0, 1);
    Tick();
}

void Release() {
    Pointer(MouseUp, 0, 0, 0);
    Tick();
}

void PressButton(TGadget button) {
    HeadlessPressButton(button);
    RunMainLoop();
}

bool Covers(const THotspot& h, int x, int y) {
    const int ix = static_cast<int>(h.X);
    const int iy = static_cast<int>(h.Y);
    return ix <= x && x <= ix + h.Width && iy <= y && y <= iy + h.Height;
}

// A point of the hotspot that no hotspot polled before it covers, nearest its centre.
bool Aim(const THotspotRef& target, int& x, int& y) {
    if (target == nullptr || target->Inactive != 0 || target->Width <= 0 || target->Height <= 0) return false;
    std::vector<THotspotRef> before;
    for (const THotspotRef& h : HotspotList) {
        if (h == target) break;
        if (h->Inactive == 0 && (OpenRadial == nullptr || h->IsRadial())) before.push_back(h);
    }
    const int cx = static_cast<int>(target->X) + target->Width / 2;
    const int cy = static_cast<int>(target->Y) + target->Height / 2;
    for (int r = 0; r <= std::max(target->Width, target->Height); ++r) {
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) != r) continue;
                const int px = cx + dx;
                const int py = cy + dy;
                if (!Covers(*target, px, py) || px < 0 || py < 0 || px >= 800 || py >= 600) continue;
                const bool hidden = std::any_of(before.begin(), before.end(),
                                                [&](const THotspotRef& h) { return Covers(*h, px, py); });
                if (hidden) continue;
                x = px;
                y = py;
                return true;
            }
        }
    }
    return false;
}

bool Click(TReplay& replay, const THotspotRef& target, const std::string& what) {
    int x = 0;
    int y = 0;
    if (!Aim(target, x, y)) return replay.Fail("cannot click " + what + ": not on the canvas");
    MoveTo(x, y);
    Press();
    Release();
    return true;
}

// Waits until the token has glided home, so that the pointer finds it where it stays.
void Settle(const THotspotRef& token) {
    for (int i = 0; i < SettleTicks; ++i) {
        const float x = token->X;
        const float y = token->Y;
        Tick();
        if (token->X == x && token->Y == y) return;
    }
}

bool Squeeze(TReplay& replay, const TGoalRef& goal) {
    Settle(goal->hotspot);
    int x = 0;
    int y = 0;
    if (!Aim(goal->hotspot, x, y)) return replay.Fail("cannot reach the goal token " + goal->hotspot->Tag);
    const int before = goal->focused;
    MoveTo(x, y);
    Press();
    Wait(SqueezeWaitMs);
    Release();
    if (goal->focused == before)
        return replay.Fail("squeezing " + goal->hotspot->Tag + " did not change its focus");
    return true;
}

THotspotRef OpenItem(const std::string& tag) {
    if (OpenRadial == nullptr) return nullptr;
    for (const TRadialItemRef& item : OpenRadial->Items) {
        if (item != nullptr && item->Hotspot != nullptr && item->Hotspot->Tag == tag) return item->Hotspot;
    }
    return nullptr;
}

THotspotRef OpenItemWithValue(const std::string& value) {
    if (OpenRadial == nullptr) return nullptr;
    for (const TRadialItemRef& item : OpenRadial->Items) {
        if (item != nullptr && item->Value == value) return item->Hotspot;
    }
    return nullptr;
}

// Holds the level slider's knob, drags it all the way left, then right a pixel at a time until the
// dialog shows the level.
bool PickSkillLevel(TReplay& replay, const TGoalStep& step) {
    int x = 0;
    int y = 0;
    if (!Aim(LevelSlider, x, y)) return replay.Fail("the level slider is not there");
    MoveTo(x, y);
    Press();
    int at = std::max(0, x - FarAway);
    MoveTo(at, y);
    while (ChosenLevel < step.level && at < 799)
        MoveTo(++at, y);
    Release();
    Tick();
    if (ChosenLevel != step.level) return replay.Fail("the slider gave level " + std::to_string(ChosenLevel));
    return true;
}

// Carries a planning goal's token along the strip until it hangs at the week.
bool HangAt(TReplay& replay, const TGoalRef& goal, int week) {
    if (goal->deadline == week) return true;
    Settle(goal->hotspot);
    int x = 0;
    int y = 0;
    if (!Aim(goal->hotspot, x, y)) return replay.Fail("cannot reach the new goal's token");
    MoveTo(x, y);
    Press();
    Release(); // picked up: it follows the pointer now
    const THotspot& token = *goal->hotspot;
    const int centre = static_cast<int>(token.X) + token.Width / 2;
    const int to = std::clamp(x + static_cast<int>(TTimeBar::WeekX(week)) - centre, 0, 799);
    MoveTo(to, y);
    Press();
    Release(); // put down
    if (goal->deadline != week)
        return replay.Fail("the token hangs at week " + std::to_string(goal->deadline));
    return true;
}

bool NewGoal(TReplay& replay, const TGoalStep& step) {
    if (!Click(replay, THotspot::FindByTag("SETGOAL"), "the goal button")) return false;
    if (step.skill >= 0) {
        if (!Click(replay, OpenItem("RADITEM_SKILL"), "SKILL")) return false;
        if (!Click(replay, OpenItem(std::string("RADITEM_SKILL_") + SkillKeys[step.skill]), "the skill"))
            return false;
        if (!PickSkillLevel(replay, step)) return false;
        if (!Click(replay, GoalSetButton, "the goal's OK button")) return false;
    } else {
        if (!Click(replay, OpenItem("RADITEM_THING"), "THING")) return false;
        while (OpenItemWithValue(step.itemTag) == nullptr && ItemRightButton->Inactive == 0) {
            if (!Click(replay, ItemRightButton, "the next item page")) return false;
        }
        if (!Click(replay, OpenItemWithValue(step.itemTag), "the item " + step.itemTag)) return false;
    }
    if (GoalList.empty()) return replay.Fail("no goal was made");
    const TGoalRef goal = GoalList.back();
    const bool made = step.skill >= 0 ? goal->skill == step.skill && goal->targetLevel == step.level
                                      : goal->itemTag == step.itemTag;
    if (!made || goal->final != 0) return replay.Fail("the goal menu made another goal");
    return HangAt(replay, goal, step.due) && Squeeze(replay, goal);
}

TGoalRef FindGoal(const TGoalStep& step) {
    for (const TGoalRef& goal : GoalList) {
        if (goal->final != 0 || goal->deadline != step.due) continue;
        if (step.skill >= 0
                ? goal->skill == step.skill && goal->targetLevel == step.level && goal->itemTag.empty()
                : goal->itemTag == step.itemTag)
            return goal;
    }
    return nullptr;
}

bool DoGoal(TReplay& replay, const TGoalStep& step) {
    if (step.kind == TGoalStepKind::New) return NewGoal(replay, step);
    const TGoalRef goal = FindGoal(step);
    if (goal == nullptr) return replay.Fail("no goal to squeeze");
    if ((goal->focused != 0) == (step.kind == TGoalStepKind::Focus))
        return replay.Fail("the goal is already so");
    return Squeeze(replay, goal);
}

bool DoAction(TReplay& replay, const TScriptWeek& week) {
    if (week.kind == TTurnKind::Station) {
        const TStation* station = TStation::FindByTag(week.stationTag);
        if (station == nullptr) return replay.Fail("no station " + week.stationTag);
        if (!Click(replay, station->target, week.stationTag)) return false;
        return Click(replay, OpenItem("RADACTION_" + week.actionTag), week.actionTag);
    }
    if (!Click(replay, THotspot::FindByTag("WORK"), "the job button")) return false;
    return Click(replay, OpenItem(week.kind == TTurnKind::Work ? "RADITEM_WORK" : "RADITEM_QUIT"),
                 "work or quit");
}

// Closes the weekly review and every goal prompt after it; true when the final goal passed.
bool CloseWeek(TReplay& replay, bool& finalPassed) {
    if (!PanelLocked || StatsMode != 1) return replay.Fail("the weekly review did not open");
    PressButton(StatsConfirm);
    while (PanelLocked && Prompt.Kind == "GOALPASS")
        PressButton(PromptPrimary);
    if (PanelLocked && Prompt.Kind == "FINALPASS") {
        finalPassed = true;
        return true;
    }
    if (PanelLocked) return replay.Fail("the week ended in the prompt " + Prompt.Kind);
    return true;
}

bool Matches(TReplay& replay, const TScriptWeek& week) {
    for (size_t s = 0; s < SkillCount; ++s) {
        if (Player.skillLevel[s] != week.levels[s] || Player.skillPoints[s] != week.points[s])
            return replay.Fail("the game's " + std::string(SkillNames[s]) + " differs from the plan's");
    }
    if (std::abs(static_cast<double>(Player.motivation) - week.motivation) > MotivationTolerance)
        return replay.Fail("the game's motivation " + std::to_string(Player.motivation) +
                           " differs from the plan's");
    if (TPlanText::ItemNames(Player) != week.items)
        return replay.Fail("the game's items differ from the plan's");
    return true;
}

// The menu page's link to the level, as the page itself has it.
std::string LevelLink(const std::string& levelName) {
    std::ifstream page("content/html/MainMenu.html");
    const std::string text((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
    const std::regex href("href=\"(redirects[^\"]*)\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), href); it != std::sregex_iterator(); ++it) {
        const std::string link = (*it)[1];
        // The dispatch takes the level's name from characters 19 and 20 after "html\".
        if (link.size() >= 20 && link.substr(18, 2) == levelName) return link;
    }
    return "";
}

bool StartLevel(TReplay& replay, const std::string& levelName) {
    const std::string link = LevelLink(levelName);
    if (link.empty()) return replay.Fail("the menu page has no link to level " + levelName);
    HeadlessFollowLink(MenuView, CurrentDirectory() + "/content/html\\" + link);
    Tick();
    if (CurrentLevel == nullptr || CurrentLevel->Name != levelName || Prompt.Kind != "CUSTOM")
        return replay.Fail("the link did not start level " + levelName);
    PressButton(PromptPrimary);
    Tick();
    if (PanelLocked) return replay.Fail("the introduction did not close");
    return true;
}

} // namespace

TReplayResult TPlanReplay::Play(const std::string& levelName, const TPlanScript& script) {
    TReplay replay;
    TReplayResult result;
    if (!StartLevel(replay, levelName)) {
        result.failure = replay.failure;
        return result;
    }
    for (const TScriptWeek& week : script.weeks) {
        if (CurrentWeek != week.week) {
            replay.Fail("the game is in week " + std::to_string(CurrentWeek));
            break;
        }
        bool ok = true;
        for (const TGoalStep& step : week.goals)
            ok = ok && DoGoal(replay, step);
        ok = ok && DoAction(replay, week) && CloseWeek(replay, result.finalPassed) && Matches(replay, week);
        if (!ok) break;
        ++result.weeksPlayed;
        if (result.finalPassed) break;
    }
    if (replay.failure.empty() && !result.finalPassed) replay.Fail("the plan ended without winning");
    if (!replay.failure.empty())
        result.failure = "week " + std::to_string(CurrentWeek) + ": " + replay.failure;
    return result;
}
