#include "rules/Goal.hpp"

#include "scene/Layer.hpp"
#include "scene/Motivation.hpp"
#include "scene/Numeric.hpp"
#include "scene/Pointer.hpp"
#include "scene/RadialItem.hpp"
#include "scene/TimeBar.hpp"

#include <cmath>
#include <iterator>
#include <vector>

TGoalList GoalList;
int GoalCount = 0;
int GoalSerial = 1;
TGoalRef EvalCursor;
THotspotRef PlanningTemplate;
THotspotRef FocusedTemplate;
THotspotRef FinalTemplate;
TImage GoldLinkImage;
TGoalPromptHook GoalPassedPrompt;
TGoalPromptHook GoalFailedPrompt;
TGoalPromptHook FinalPassedPrompt;
TGoalPromptHook FinalFailedPrompt;

namespace {

constexpr int HomeDrop = 75;   // a token's home hangs this far below its week on the strip
constexpr int StackStep = 40;  // tokens at one week hang this far apart
constexpr int FirstHome = 100; // the highest home of a stack
constexpr int GoalLeash = 100;
constexpr int ReleasedHomeY = 900; // below the canvas: a released token falls out of sight
constexpr int LinkStep = 5;
constexpr float ItemIconOnToken = 0.56f; // a 50-pixel icon inside the 40-pixel token's ring

THotspotRef MakeTemplate(const std::string& path) {
    THotspotRef token =
        THotspot::CreateForSprite(TSprite::LoadAnim(path, 40, 40, 0, 3, -1), "GOAL_OBJECT", "_ABSTRACT");
    token->Hide();
    token->SetStateFrames(1, 1, 0, 0);
    token->GrabState = GrabFree;
    return token;
}

bool IsPlanning(const TGoal& goal) {
    return goal.focused == 0 && goal.final == 0;
}

void Report(const TGoalPromptHook& prompt, const TGoalRef& goal) {
    if (prompt) prompt(goal);
}

// The goal after this one in GoalList, or none after the last.
TGoalRef Following(const TGoal& goal) {
    if (!goal.GoalEntry) return nullptr;
    auto next = std::next(*goal.GoalEntry);
    return next == GoalList.end() ? nullptr : *next;
}

// Puts the token's leash centre on the week's strip point and its home below it.
void HangAt(THotspot& token, int week) {
    token.AnchorX = TruncInt(TTimeBar::WeekX(week));
    token.AnchorY = TruncInt(TTimeBar::WeekY(week));
    token.HomeX = token.AnchorX;
    token.HomeY = token.AnchorY + HomeDrop;
}

} // namespace

void TGoal::LoadTemplates() {
    TLayer::Select("goals");
    PlanningTemplate = MakeTemplate("media/goal.png");
    FocusedTemplate = MakeTemplate("media/focusedgoal.png");
    FinalTemplate = MakeTemplate("media/finalgoal.png");
}

TGoalRef TGoal::Create() {
    if (GoalCount >= MaxGoals) return nullptr;
    if (PlanningTemplate == nullptr) LoadTemplates();
    auto goal = std::make_shared<TGoal>();
    goal->hotspot = PlanningTemplate->Clone("GOAL_" + std::to_string(GoalSerial));
    goal->hotspot->Kind = "_GOALS";
    // A token is hit before everything else, so it can be picked up wherever it hangs.
    HotspotList.splice(HotspotList.begin(), HotspotList, *goal->hotspot->HotspotEntry);
    goal->GoalEntry = GoalList.insert(GoalList.end(), goal);
    HangAt(*goal->hotspot, 1);
    goal->hotspot->SetPosition(static_cast<float>(goal->hotspot->HomeX),
                               static_cast<float>(goal->hotspot->HomeY));
    ++GoalSerial;
    ++GoalCount;
    goal->SetDeadline(0, 0);
    return goal;
}

TGoalRef TGoal::CreateSkillGoal(int skill, int level) {
    TGoalRef goal = Create();
    if (goal == nullptr) return nullptr;
    goal->skill = skill;
    goal->targetLevel = level;
    if (skill >= 0 && skill < SkillCount) {
        TLayer::Select("iconlayer");
        goal->icon = TSprite::Load(SkillIconPaths[skill], -1);
        goal->icon->SetPosition(goal->hotspot->X, goal->hotspot->Y);
    }
    return goal;
}

TGoalRef TGoal::CreateItemGoal(const std::string& tag) {
    TGoalRef goal = Create();
    if (goal == nullptr) return nullptr;
    goal->itemTag = tag;
    // The item's icon, made small, tells one item goal's token from another's.
    if (const TItem* item = TItem::FindByTag(tag); item != nullptr && item->icon != nullptr) {
        TLayer::Select("iconlayer");
        goal->icon = TSprite::FromImage(item->icon);
        goal->icon->Scale = ItemIconOnToken;
        goal->icon->PlaceOver(goal->hotspot->X, goal->hotspot->Y, static_cast<float>(goal->hotspot->Width),
                              static_cast<float>(goal->hotspot->Height));
    }
    return goal;
}

bool TGoal::IsItemGoal() const {
    return TItem::FindByTag(itemTag) != nullptr;
}

void TGoal::SetDeadline(int week, int place) {
    if (week <= CurrentWeek) week = CurrentWeek + 1;
    if (week > LevelLength) week = LevelLength;
    deadline = week;
    THotspot& token = *hotspot;
    HangAt(token, week);
    if (place == 1) {
        token.SetPosition(static_cast<float>(token.HomeX) - static_cast<float>(token.Width) * 0.5f,
                          static_cast<float>(token.HomeY) - static_cast<float>(token.Height) * 0.5f);
    }
}

int TGoal::Priority() const {
    return stackPriority - hotspot->GrabState;
}

void TGoal::StackAt(int y) {
    THotspot& token = *hotspot;
    for (; y <= StackBottom; y += StackStep) {
        bool taken = false;
        for (const TGoalRef& other : GoalList) {
            if (other.get() == this) continue;
            const THotspot& o = *other->hotspot;
            const float dx = static_cast<float>(o.HomeX - token.HomeX);
            const float dy = static_cast<float>(o.HomeY - y);
            if (!(std::sqrt(dx * dx + dy * dy) < static_cast<float>(StackStep))) continue;
            // The higher priority keeps the place; between equals, the token that hung higher does.
            if (other->Priority() > Priority() ||
                (other->Priority() == Priority() && token.HomeY >= o.HomeY)) {
                taken = true;
                break;
            }
        }
        if (!taken) {
            token.HomeY = y;
            if (token.Leash > 0) token.Leash = y + 50;
            return;
        }
    }
}

void TGoal::Update(const std::string& gestureKind, const std::string& tag) {
    THotspot& token = *hotspot;
    if (IsPlanning(*this) && token.GrabState == GrabHeld) {
        SetDeadline(TTimeBar::WeekAtX(token.X + static_cast<float>(token.Width) * 0.5f), 0);
    }
    if (token.Y > static_cast<float>(StackBottom) && IsPlanning(*this)) {
        deadline = -1;
        token.ScaleReturn = 0;
        token.HomeY = ReleasedHomeY;
        token.HomeX = TruncInt(token.X + static_cast<float>(token.Width) * 0.5f);
        token.AnchorX = -1;
        token.AnchorY = -1;
    } else {
        StackAt(FirstHome);
    }
    if (gestureKind == "SQUEEZE" && tag == token.Tag && PointerButton == 1) {
        if (focused != 0)
            Unfocus();
        else
            Focus();
    }
    if (token.Y > static_cast<float>(token.Height + 800)) {
        Destroy();
        return;
    }
    if (icon != nullptr)
        icon->PlaceOver(hotspot->X, hotspot->Y, static_cast<float>(hotspot->Width),
                        static_cast<float>(hotspot->Height));
}

void TGoal::UpdateAll(const std::string& gestureKind, const std::string& tag) {
    for (auto it = GoalList.begin(); it != GoalList.end();) {
        TGoalRef goal = *it++;
        goal->Update(gestureKind, tag);
    }
}

int TGoal::CanFocus() const {
    const bool item = IsItemGoal();
    for (const TGoalRef& other : GoalList) {
        if (other.get() == this || other->focused == 0 || other->final != 0) continue;
        if (other->IsItemGoal() != item) continue;
        if (item ? other->itemTag == itemTag : other->skill == skill) return 0;
    }
    return 1;
}

void TGoal::SwapSprite(const THotspotRef& source) {
    if (source == nullptr || source->Sprite == nullptr) return;
    const TSpriteRef old = hotspot->Sprite;
    TSpriteRef copy = source->Sprite->Clone("nullcopy");
    if (old != nullptr) {
        old->Remove();
        copy->SetPosition(static_cast<float>(TruncInt(old->X)), static_cast<float>(TruncInt(old->Y)));
    }
    hotspot->Sprite = copy;
}

void TGoal::Focus() {
    // A token released from the strip has no week to be judged at.
    if (CanFocus() == 0 || deadline <= 0) return;
    if (final == 0) {
        SwapSprite(FocusedTemplate);
        hotspot->Leash = GoalLeash;
        stackPriority = FocusedPriority;
    }
    focused = 1;
}

void TGoal::Unfocus() {
    if (final == 0) {
        SwapSprite(PlanningTemplate);
        hotspot->Leash = -1;
        stackPriority = PlanningPriority;
    }
    focused = 0;
}

void TGoal::MakeFinal() {
    SwapSprite(FinalTemplate);
    hotspot->Leash = GoalLeash;
    stackPriority = FinalPriority;
    final = 1;
}

int TGoal::IsReached() const {
    if (IsItemGoal()) return TPlayer::HasItemTag(itemTag) == 1 ? 1 : 0;
    // A skill kind the game does not know has no level, so only a target of 0 or less is met.
    if (skill < 0 || skill >= SkillCount) return targetLevel <= 0 ? 1 : 0;
    return Player.skillLevel[skill] >= targetLevel ? 1 : 0;
}

void TGoal::Destroy() {
    if (!GoalEntry) return;
    const TGoalRef self = **GoalEntry; // the list may hold the last reference
    // The evaluation resumes at whatever followed a goal that went while a prompt was open.
    if (EvalCursor == self) EvalCursor = Following(*this);
    GoalList.erase(*GoalEntry);
    GoalEntry.reset();
    hotspot->Destroy();
    if (icon != nullptr) icon->Remove();
    --GoalCount;
}

void TGoal::DestroyAll() {
    while (!GoalList.empty())
        GoalList.front()->Destroy();
}

TGoalRef TGoal::FindByHotspotTag(const std::string& tag) {
    for (const TGoalRef& goal : GoalList) {
        if (goal->hotspot->Tag == tag) return goal;
    }
    return nullptr;
}

void TGoal::WeeklyCheck() {
    for (auto it = GoalList.begin(); it != GoalList.end();) {
        TGoalRef goal = *it++;
        if (!IsPlanning(*goal)) continue;
        goal->SetDeadline(goal->deadline, 0);
        if (goal->IsReached() != 0) goal->Destroy();
    }
}

void TGoal::StartEvaluation() {
    EvalCursor = GoalList.empty() ? nullptr : GoalList.front();
    EvaluateNext();
}

void TGoal::EvaluateNext() {
    while (EvalCursor != nullptr) {
        const TGoalRef goal = EvalCursor;
        EvalCursor = Following(*goal);
        if (goal->IsReached() != 0) {
            if (goal->final != 0) {
                Report(FinalPassedPrompt, goal);
            } else {
                Report(GoalPassedPrompt, goal);
                TMotivation::GoalReward(goal->deadline);
            }
            goal->Destroy();
            return;
        }
        // A token released from the strip has no deadline, so it cannot have missed one.
        if (goal->deadline > 0 && goal->deadline <= CurrentWeek) {
            if (goal->final != 0) {
                Report(FinalFailedPrompt, goal);
                goal->Destroy();
            } else {
                Report(GoalFailedPrompt, goal);
                TMotivation::GoalPenalty();
            }
            return;
        }
    }
}

void TGoal::DrawStrings() {
    for (const TGoalRef& goal : GoalList) {
        if (goal->deadline <= 0) continue;
        const THotspot& token = *goal->hotspot;
        const int cx = TruncInt(token.X + static_cast<float>(token.Width / 2));
        const int cy = TruncInt(token.Y + static_cast<float>(token.Height / 2));
        const int ax = TruncInt(TTimeBar::WeekX(goal->deadline));
        const int ay = TruncInt(TTimeBar::WeekY(goal->deadline));
        if (IsPlanning(*goal)) {
            SetColor(0, 0, 0);
            DrawLine(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(ax + 3),
                     static_cast<float>(ay + 3), 1);
            continue;
        }
        // A black string drawn just before would otherwise tint the gold.
        SetColor(255, 255, 255);
        const double dx = ax - cx;
        const double dy = ay - cy;
        const double d = std::sqrt(dx * dx + dy * dy);
        const int links = TruncInt(d / LinkStep);
        // The distance along the chain is multiplied out first, so links on a straight string land on
        // whole pixels instead of one short.
        for (int i = 1; i <= links; ++i) {
            const double along = static_cast<double>(i * LinkStep);
            DrawImage(GoldLinkImage, static_cast<float>(TruncInt(cx + along * dx / d - 2.0)),
                      static_cast<float>(TruncInt(cy + along * dy / d - 2.0)), 0);
        }
    }
    SetColor(255, 255, 255);
}

TWeekGoals TGoal::GatherWeekGoals(const std::array<TItem*, InventorySlots>& weekItems) {
    TWeekGoals week;
    std::vector<const TItem*> goalItems;
    for (const TGoalRef& goal : GoalList) {
        if (goal->focused != 0) ++week.focusedCount;
        if (IsPlanning(*goal)) continue;
        if (!goal->itemTag.empty()) goalItems.push_back(TItem::FindByTag(goal->itemTag));
        if (goal->targetLevel > 0 && goal->skill >= 0 && goal->skill < SkillCount)
            week.goalSkills[static_cast<size_t>(goal->skill)] = true;
    }
    for (const TItem* received : weekItems) {
        if (received == nullptr) continue;
        for (const TItem* wanted : goalItems) {
            if (wanted == received) week.goalItemReceived = true;
        }
    }
    return week;
}

void TGoal::WalkActive(const TGoalVisitor& visit) {
    for (const TGoalRef& goal : GoalList) {
        if (!IsPlanning(*goal)) visit(goal->skill, goal->targetLevel, goal->itemTag);
    }
}
