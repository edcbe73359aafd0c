#include "panels/StatsPanel.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/Widget.hpp"
#include "rules/Goal.hpp"
#include "rules/GoalMenu.hpp"
#include "rules/Player.hpp"
#include "scene/Numeric.hpp"
#include "scene/TextSprite.hpp"

int StatsMode = 0;
TImage LevelUpImage;
TWidgetGroup* StatsGroup = nullptr;

TGadget StatsPanelGadget = nullptr;
TGadget StatsTitle = nullptr;
TGadget StatsMotivation = nullptr;
TGadget StatsInventory = nullptr;
TGadget StatsSkills = nullptr;
TGadget StatsConfirm = nullptr;
TGadget StatsHelp = nullptr;
TGadget StatsClose = nullptr;

namespace {

constexpr int SkillRowHeight = 45;
constexpr int ItemCell = 50;
constexpr int ItemColumns = 3;
constexpr int ItemsShown = 9;
// A strip holds ten frames; a bigger week still shows a full strip rather than nothing.
constexpr int StripFrames = 10;
// The skill rows' words sit right of the point tokens, under the level bar, on two lines.
constexpr float SkillTextX = 78.0f;
constexpr float SkillTextY = 20.0f;
constexpr float SkillLineHeight = 12.0f;
TFont StatsFont;

// The canvases take the panel's own cream, so an empty one reads as part of the panel, not a blank box.
void ClearToPanel(float w, float h) {
    SetColor(255, 248, 230);
    DrawRect(0, 0, w, h);
}

void InkColour() {
    SetColor(45, 42, 38);
}

// Images are tinted by the colour: white leaves them as drawn.
void ImageColour() {
    SetColor(255, 255, 255);
}

std::string Signed(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

// Frame n of a strip stands for the value n + 1; nothing is drawn for zero or less.
void DrawStripValue(const TImage& strip, int value, float x, float y) {
    if (value <= 0) return;
    DrawImage(strip, x, y, static_cast<int>(Clamp(static_cast<float>(value), 1.0f, StripFrames)) - 1);
}

// Draws on a statistics canvas for the life of the scope, then hands the target back: the world lays out
// its labels between paints and must measure them with its own canvas's font.
class TBorrowedTarget {
  public:
    explicit TBorrowedTarget(TGadget canvas) : previous(CurrentDrawTarget()) { SetDrawTarget(canvas); }
    ~TBorrowedTarget() { SetDrawTarget(previous); }
    TBorrowedTarget(const TBorrowedTarget&) = delete;
    TBorrowedTarget& operator=(const TBorrowedTarget&) = delete;

  private:
    TGadget previous;
};

} // namespace

void TStatsPanel::Build() {
    if (StatsGroup == nullptr) StatsGroup = TWidgetGroup::Create("STATS_PANEL");
    StatsPanelGadget =
        StatsGroup->Register("STATS_PANEL", AddPanel(175, 100, 450, 400, GameCanvas, 1, "Information"));
    StatsTitle = StatsGroup->Register(
        "STATS_TITLE", AddLabel("Weekly Review:", 10, 10, 250, 15, StatsPanelGadget, LabelCentred));
    StatsMotivation = StatsGroup->Register(
        "STATS_MOTIVATION", AddLabel("Motivation:\n", 200, 280, 250, 50, StatsPanelGadget, LabelLeft));
    StatsInventory =
        StatsGroup->Register("STATS_INVENTORY", AddCanvas(10, 30, 150, 150, StatsPanelGadget, 0));
    StatsSkills = StatsGroup->Register("STATS_SKILLS", AddCanvas(200, 30, 200, 230, StatsPanelGadget, 0));
    StatsConfirm =
        StatsGroup->Register("STATS_CONFIRM", AddButton("Continue", 185, 350, 80, 20, StatsPanelGadget, 1));
    StatsHelp = StatsGroup->Register("STATS_HELP", AddButton("?", 405, 2, 20, 20, StatsPanelGadget, 1));
    StatsClose = StatsGroup->Register("STATS_CLOSE", AddButton("X", 426, 2, 20, 20, StatsPanelGadget, 1));
    LevelUpImage = LoadImage("media/LevelUp.png");
    StatsFont = LoadFont(TextFontPath, 10, FontSmoothed);
    Close();
}

std::string TStatsPanel::MotivationRemark(int change) {
    if (change >= 8) return "   Massive Drive!";
    if (change >= 5) return "   Drive Up!";
    if (change > 0) return "   Motivated!";
    if (change == 0) return "   No change...";
    if (change >= -1) return "   Losing drive...";
    if (change >= -5) return "   Big Slump...";
    return "   Very de-motivated...";
}

std::string TStatsPanel::MotivationReason(TMotivationCause cause, int focusedGoals) {
    const std::string goals = std::to_string(focusedGoals) + " focused goals";
    const bool many = focusedGoals > 1;
    switch (cause) {
    case TMotivationCause::NoGain:
        return "No skill points this week: -25";
    case TMotivationCause::GoalItem:
        return many ? "A goal's item arrived, bonus split by " + goals : "A goal's item arrived";
    case TMotivationCause::GoalSkill:
        return many ? "Points for a goal's skill, split by " + goals : "Points for a goal's skill";
    case TMotivationCause::OtherSkill:
        return many ? "Points for no goal's skill, loss times " + goals : "Points for no goal's skill";
    case TMotivationCause::Even:
        break;
    }
    return "";
}

std::string TStatsPanel::SkillLine(int skill) {
    const auto i = static_cast<size_t>(skill);
    const std::string level = "level " + std::to_string(Player.skillLevel[i]);
    if (StatsMode == 0) return level + " \xC2\xB7 " + std::to_string(Player.skillPoints[i]) + " pts";
    return Signed(Player.weekGain[i]) + " pts \xC2\xB7 " + level;
}

void TStatsPanel::ShowWeeklyReview() {
    const std::string reason = MotivationReason(Player.lastMotivationCause, Player.lastFocusedGoals);
    SetText(StatsMotivation, "Motivation: " + std::to_string(TMotivation::Shown()) + " (" +
                                 Signed(Player.lastMotivationChange) + ")\n" +
                                 MotivationRemark(Player.lastMotivationChange) +
                                 (reason.empty() ? "" : "\n   " + reason));
    SetText(StatsTitle, "Weekly Review:");
    StatsMode = 1;
    Show();
}

void TStatsPanel::ShowPlayerStats() {
    SetText(StatsMotivation, "Motivation: " + std::to_string(TMotivation::Shown()));
    SetText(StatsTitle, "Player Stats:");
    StatsMode = 0;
    Show();
}

bool TStatsPanel::Show() {
    return StatsGroup->Show(true);
}

bool TStatsPanel::Close() {
    return StatsGroup->Hide();
}

void TStatsPanel::DrawSkills() {
    const TBorrowedTarget target(StatsSkills);
    SetBlend(BlendAlpha);
    SetFont(StatsFont);
    ClearToPanel(200, 250);
    for (int skill = 0; skill < SkillCount; ++skill) {
        const auto i = static_cast<size_t>(skill);
        const auto top = static_cast<float>(SkillRowHeight * skill);
        InkColour();
        DrawText(SkillNames[i], SkillTextX, top + SkillTextY);
        DrawText(SkillLine(skill), SkillTextX, top + SkillTextY + SkillLineHeight);
        ImageColour();
        if (StatsMode == 0) {
            DrawStripValue(LevelStrips[i], Player.skillLevel[i], 0, top);
            DrawStripValue(TokenStrips[i], Player.skillPoints[i], 5, top + 22);
        } else {
            // A full bar for every ten points gained, a token for each point beyond.
            const int gain = Player.weekGain[i];
            DrawStripValue(LevelStrips[i], gain / 10, 0, top);
            DrawStripValue(TokenStrips[i], gain % 10, 5, top + 22);
            if (Player.weekLevel[i] > 0) DrawImage(LevelUpImage, 150, top, 0);
        }
    }
    Present();
}

void TStatsPanel::DrawInventory() {
    const TBorrowedTarget target(StatsInventory);
    SetBlend(BlendAlpha);
    SetFont(StatsFont);
    ClearToPanel(150, 150);
    ImageColour();
    const auto& slots = StatsMode == 0 ? Player.inventory : Player.weekItems;
    int shown = 0;
    for (const TItem* item : slots) {
        if (item == nullptr) continue;
        if (shown == ItemsShown) break;
        DrawImage(item->icon, static_cast<float>(ItemCell * (shown % ItemColumns)),
                  static_cast<float>(ItemCell * (shown / ItemColumns)), 0);
        ++shown;
    }
    if (shown == 0) {
        InkColour();
        DrawText(StatsMode == 0 ? "No items yet" : "No new items", 0, 0);
        ImageColour();
    }
    Present();
}
