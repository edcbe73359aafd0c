#include "rules/GoalMenu.hpp"

#include "rules/Goal.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Layer.hpp"
#include "scene/Numeric.hpp"
#include "scene/RadialItem.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

THotspotRef GoalButton;
TRadialRef TypeRadial;
TRadialRef SkillRadial;
std::array<TRadialRef, MaxItemPages> ItemPages;
int LastPage = 0;
int CurrentPage = 0;
TTextSpriteRef Caption;
TTextSpriteRef AmountText;
THotspotRef WarningMark;
THotspotRef LevelSlider;
TSpriteRef LevelIndicator;
THotspotRef GoalCloseButton;
THotspotRef GoalSetButton;
THotspotRef ItemLeftButton;
THotspotRef ItemRightButton;
int ChosenSkill = 0;
int ChosenLevel = 0;
int GoalMenuOpen = 0;
std::array<TImage, 5> LevelStrips;
std::array<TImage, 5> TokenStrips;

namespace {

// The tail of each skill entry's tag, by skill kind.
constexpr const char* SkillKeys[] = {"FITNESS", "MENTAL", "SOCIAL", "WEALTH", "LEADERSHIP"};
constexpr const char* LevelStripPaths[] = {"media/FitnessLevels.png", "media/MentalLevels.png",
                                           "media/SocialLevels.png", "media/WealthLevels.png",
                                           "media/LeadershipLevels.png"};
constexpr const char* TokenStripPaths[] = {"media/FitnessTokens.png", "media/MentalTokens.png",
                                           "media/SocialTokens.png", "media/WealthTokens.png",
                                           "media/LeadershipTokens.png"};
constexpr int SkillPrefixLength = 14; // "RADITEM_SKILL_"
constexpr float SliderSpan = 140.0f;  // knob offsets 0..140 run over the reachable levels
constexpr float ItemQuestionY = 305.0f;

TRadialRef MakeRadial(int slots) {
    TRadialRef radial = TRadial::Create();
    radial->HasHelp = 0;
    radial->Radius = 150.0f;
    radial->Setup(400, 550, slots, 1);
    radial->OwnerHotspot = GoalButton;
    return radial;
}

THotspotRef MakeButton(const std::string& path, const std::string& tag, int x, int y) {
    THotspotRef button =
        THotspot::CreateForSprite(TSprite::LoadAnim(path, 25, 25, 0, 3, -1), tag, "GOALMENU_RADIAL");
    button->SetStateFrames(1, 1, 0, 0);
    button->SetPosition(static_cast<float>(x), static_cast<float>(y));
    button->Hide();
    return button;
}

// The item pages' names stand outside the ring, where the other questions stand: that one goes higher.
void PlaceQuestion(const std::string& text, float y = 350.0f) {
    Caption->Text = text;
    Caption->SetPosition(400.0f - static_cast<float>(TextWidth(text)) * 0.5f, y);
    Caption->Show();
}

void DisableGoalButton() {
    if (GoalButton != nullptr) GoalButton->Disable();
}

void ShowIf(const THotspotRef& button, bool shown) {
    if (shown)
        button->Show();
    else
        button->Hide();
}

// The job that decides the wealth and leadership warnings: the last one in slot order.
const TItem* HeldJob() {
    const TItem* job = nullptr;
    for (const TItem* held : Player.inventory) {
        if (held != nullptr && held->itemType == "JOB") job = held;
    }
    return job;
}

bool LeadershipJobAllows(const std::string& job, int level) {
    if (level < 6 && (job == "job_councilmember" || job == "job_masterhuntsman")) return true;
    if (level < 9 && (job == "job_executive" || job == "job_guildmaster")) return true;
    if (level < 10 && job == "job_villageelder") return true;
    return level <= 10 && job == "job_chancellor";
}

// Whether the game's prerequisites put the level of the skill out of reach now.
bool OutOfReach(int skill, int level) {
    const TItem* job = HeldJob();
    if (skill == 3) return job == nullptr || level > job->wealthCap;
    if (skill == 4) return !LeadershipJobAllows(job != nullptr ? job->tag : "", level);
    const int wealth = Player.skillLevel[3];
    return (level > 5 && wealth < 3) || (level > 8 && wealth < 5) || (level > 9 && wealth < 8);
}

} // namespace

void TGoalMenu::Build(const THotspotRef& goalButton) {
    GoalButton = goalButton;

    TypeRadial = MakeRadial(3);
    TypeRadial->AddItem(TRadialItem::CreateNamed("SKILL", {}, 1));
    TypeRadial->AddItem(TRadialItem::CreateNamed("THING", {}, 1));

    SkillRadial = MakeRadial(6);
    for (int kind = SkillCount - 1; kind >= 0; --kind) {
        TRadialItemRef entry = TRadialItem::CreateNamed("", {}, 1);
        entry->Hotspot->Tag = std::string("RADITEM_SKILL_") + SkillKeys[kind];
        // The label made the text layer current; the icon belongs with the menu's buttons.
        TLayer::Select("radials");
        entry->Icon = TSprite::Load(SkillIconPaths[kind], -1);
        entry->Icon->Hide();
        entry->Label->Text = SkillNames[kind];
        SkillRadial->AddItem(entry);
    }

    Caption = TTextSprite::CreateText("");
    Caption->Hide();
    AmountText = TTextSprite::CreateText("");
    AmountText->Hide();

    WarningMark = THotspot::CreateForSprite(TSprite::Load("media/RedEx.png", -1), "NULLGAD", "DEFAULT");
    WarningMark->SetPosition(385.0f, 385.0f);
    WarningMark->Hide();

    LevelSlider =
        THotspot::CreateForSprite(TSprite::Load("media/Slider.png", -1), "SKILLAMOUNT", "_DISPLAY_RADIAL");
    LevelSlider->MakeSlider(450, 325, 475);
    LevelSlider->Hide();

    GoalCloseButton = MakeButton("media/CloseButton.png", "GOALCLOSE", 372, 500);
    GoalSetButton = MakeButton("media/OkayButton.png", "GOALSET", 388, 475);
    ItemLeftButton = MakeButton("media/LeftNextButton.png", "ITEMNEXTLEFT", 372, 470);
    ItemRightButton = MakeButton("media/RightNextButton.png", "ITEMNEXTRIGHT", 403, 470);

    LevelIndicator = TSprite::Create(1);
    LevelIndicator->FrameCount = 10;
    LevelIndicator->SetPosition(330.0f, 415.0f);
    LevelIndicator->Hide();

    for (int kind = 0; kind < SkillCount; ++kind) {
        LevelStrips[static_cast<size_t>(kind)] = LoadFrames(LevelStripPaths[kind], 200, 20, 0, 10, -1);
        TokenStrips[static_cast<size_t>(kind)] = LoadFrames(TokenStripPaths[kind], 70, 10, 0, 10, -1);
    }
}

void TGoalMenu::BuildItemPages(const std::vector<std::string>& itemTags) {
    const int n = static_cast<int>(itemTags.size());
    if (n > MaxItemChoices) {
        std::fputs("Too many item choices!\n", stderr);
        std::exit(1);
    }
    for (TRadialRef& page : ItemPages) {
        if (page != nullptr) page->Destroy();
        page.reset();
    }
    const int pages = n == 0 ? 1 : (n + ItemsPerPage - 1) / ItemsPerPage;
    LastPage = pages - 1;
    for (int p = 0; p < pages; ++p) {
        const int first = p * ItemsPerPage;
        const int count = std::min(ItemsPerPage, n - first);
        TRadialRef page = MakeRadial(count + 1);
        for (int i = first; i < first + count; ++i) {
            const std::string& tag = itemTags[static_cast<size_t>(i)];
            const TItem* item = TItem::FindByTag(tag);
            TRadialItemRef entry = TRadialItem::CreateItem(tag, item != nullptr ? item->icon : nullptr,
                                                           item != nullptr ? item->name : "");
            entry->Value = tag;
            page->AddItem(entry);
        }
        ItemPages[static_cast<size_t>(p)] = page;
    }
}

void TGoalMenu::OpenGoalMenu() {
    TypeRadial->Open();
    PlaceQuestion("Goal Type?");
    DisableGoalButton();
    GoalMenuOpen = 1;
    for (const auto& station : StationList) {
        if (station->target != nullptr) station->target->Disable();
    }
}

void TGoalMenu::ChooseSkillGoal() {
    SkillRadial->Open();
    PlaceQuestion("Skill Type?");
    DisableGoalButton();
}

void TGoalMenu::ChooseItemGoal() {
    if (ItemPages[0] != nullptr) ItemPages[0]->Open();
    PlaceQuestion("Pick Item:", ItemQuestionY);
    DisableGoalButton();
    TurnItemPage(0);
}

void TGoalMenu::TurnItemPage(int delta) {
    if (const TRadialRef& shown = ItemPages[static_cast<size_t>(CurrentPage)]) shown->Close(1);
    CurrentPage = std::clamp(CurrentPage + delta, 0, LastPage);
    ShowIf(ItemRightButton, CurrentPage < LastPage);
    ShowIf(ItemLeftButton, CurrentPage > 0);
    DebugLog("cit: " + std::to_string(CurrentPage));
    const TRadialRef& page = ItemPages[static_cast<size_t>(CurrentPage)];
    if (page != nullptr) {
        page->Open();
        for (const TRadialItemRef& entry : page->Items) {
            if (entry == nullptr) continue;
            const TItem* item = TItem::FindByTag(entry->Value);
            const TAction* giver = item != nullptr ? item->FindGivingAction() : nullptr;
            // An item nothing gives cannot be obtained, whatever the Gorum does.
            entry->Hotspot->SetVariant(giver != nullptr && giver->CanRun() != 0 ? 0 : 1);
        }
    }
    DisableGoalButton();
}

void TGoalMenu::ChooseSkill(const std::string& tag) {
    const std::string key = tag.size() > SkillPrefixLength ? tag.substr(SkillPrefixLength) : "";
    for (int kind = 0; kind < SkillCount; ++kind) {
        if (key == SkillKeys[kind]) ChosenSkill = kind;
    }
    LevelSlider->Show();
    PlaceQuestion("What Level?");
    AmountText->Text = "2";
    AmountText->SetPosition(400.0f - static_cast<float>(TextWidth("10")) * 0.5f, 390.0f);
    AmountText->Show();
    LevelIndicator->Image = LevelStrips[static_cast<size_t>(ChosenSkill)];
    LevelIndicator->SizeFromImage();
    LevelIndicator->Frame = 0;
    LevelIndicator->Show();
    GoalCloseButton->Show();
    GoalSetButton->Show();
}

void TGoalMenu::UpdateLevelSlider() {
    // A skill at the top level can only be asked to stay there; there is no level 11.
    const int lowest = std::min(Player.skillLevel[static_cast<size_t>(ChosenSkill)] + 1, MaxSkillLevel);
    const float offset = LevelSlider->X - static_cast<float>(LevelSlider->MinX);
    const float level =
        static_cast<float>(lowest) + offset * static_cast<float>(MaxSkillLevel - lowest) / SliderSpan;
    ChosenLevel = TruncInt(Clamp(level, static_cast<float>(lowest), static_cast<float>(MaxSkillLevel)));
    LevelIndicator->Frame = ChosenLevel - 1;
    AmountText->Text = std::to_string(ChosenLevel);
    WarningMark->Hide();
    if (OutOfReach(ChosenSkill, ChosenLevel)) WarningMark->Show();
}

void TGoalMenu::SetSkillGoal() {
    CloseGoalMenu();
    TGoal::CreateSkillGoal(ChosenSkill, ChosenLevel);
}

void TGoalMenu::SetItemGoal(const std::string& itemTag) {
    CloseGoalMenu();
    TGoal::CreateItemGoal(itemTag);
}

void TGoalMenu::CloseGoalMenu() {
    for (int p = 0; p <= LastPage; ++p) {
        if (const TRadialRef& page = ItemPages[static_cast<size_t>(p)]) page->Close(1);
    }
    if (GoalButton != nullptr) GoalButton->SyncWithSprite();
    Caption->Hide();
    LevelSlider->Hide();
    LevelIndicator->Hide();
    WarningMark->Hide();
    GoalCloseButton->Hide();
    GoalSetButton->Hide();
    AmountText->Hide();
    ItemLeftButton->Hide();
    ItemRightButton->Hide();
    CurrentPage = 0;
    for (const auto& station : StationList) {
        if (station->target != nullptr) station->target->SyncWithSprite();
    }
    GoalMenuOpen = 0;
}
