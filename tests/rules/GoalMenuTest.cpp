#include "tests/rules/GoalFixture.hpp"

#include <string>
#include <vector>

namespace {

class GoalMenuTest : public GoalTest {
  protected:
    THotspotRef button;

    void SetUp() override {
        GoalTest::SetUp();
        ItemPages = {};
        LastPage = CurrentPage = 0;
        GoalMenuOpen = ChosenSkill = ChosenLevel = 0;
        dir.WriteBmp("media/WealthLevels.png", 200, 200);
        TLayer::Select("displays");
        button = THotspot::CreateForSprite(TSprite::Create(1), "SETGOAL", "_DISPLAY");
        TGoalMenu::Build(button);
    }

    static bool Shown(const THotspotRef& hotspot) {
        return hotspot->Inactive == 0 && hotspot->Sprite->Hidden == 0;
    }
    static bool Warned() { return Shown(WarningMark); }
    // Moves the knob until the slider yields the level; false when no offset does.
    static bool SlideTo(int level) {
        for (int offset = 0; offset <= 150; ++offset) {
            LevelSlider->X = static_cast<float>(LevelSlider->MinX + offset);
            TGoalMenu::UpdateLevelSlider();
            if (ChosenLevel == level) return true;
        }
        return false;
    }
    static int LevelAtOffset(int offset) {
        LevelSlider->X = static_cast<float>(LevelSlider->MinX + offset);
        TGoalMenu::UpdateLevelSlider();
        return ChosenLevel;
    }
    std::vector<std::string> Items(int n) {
        std::vector<std::string> tags;
        for (int i = 0; i < n; ++i) {
            tags.push_back("thing" + std::to_string(i));
            Item(tags.back());
        }
        return tags;
    }
    TItem* Job(const std::string& tag, int wealthCap) {
        return Item(tag, "JOB", "SetWealthCap(\"" + std::to_string(wealthCap) + "\")\n");
    }
};

using GoalMenuSliderTest = GoalMenuTest;
using GoalMenuPagesTest = GoalMenuTest;

TEST_F(GoalMenuTest, BuildMakesEveryQuestionAndControlHidden) {
    ASSERT_NE(TypeRadial, nullptr);
    EXPECT_EQ(TypeRadial->SlotCount, 3);
    EXPECT_EQ(TypeRadial->ItemCount, 2);
    EXPECT_EQ(TypeRadial->Items[0]->Hotspot->Tag, "RADITEM_SKILL");
    EXPECT_EQ(TypeRadial->Items[1]->Hotspot->Tag, "RADITEM_THING");
    EXPECT_EQ(TypeRadial->Items[1]->Label->Text, "THING");
    for (const TRadialRef& radial : {TypeRadial, SkillRadial}) {
        EXPECT_EQ(radial->HasHelp, 0);
        EXPECT_EQ(radial->HelpButton, nullptr);
        EXPECT_EQ(radial->Radius, 150.0f);
        EXPECT_EQ(radial->CentreX, 400.0f);
        EXPECT_EQ(radial->CentreY, 550.0f);
        EXPECT_EQ(radial->OwnerHotspot, button);
    }
    EXPECT_EQ(OpenRadial, nullptr);

    const char* tags[] = {"RADITEM_SKILL_LEADERSHIP", "RADITEM_SKILL_WEALTH", "RADITEM_SKILL_SOCIAL",
                          "RADITEM_SKILL_MENTAL", "RADITEM_SKILL_FITNESS"};
    const char* names[] = {"Leadership", "Wealth", "Social", "Mental", "Fitness"};
    EXPECT_EQ(SkillRadial->SlotCount, 6);
    ASSERT_EQ(SkillRadial->ItemCount, 5);
    for (int i = 0; i < 5; ++i) {
        const TRadialItemRef& entry = SkillRadial->Items[static_cast<size_t>(i)];
        EXPECT_EQ(entry->Hotspot->Tag, tags[i]);
        EXPECT_EQ(entry->Label->Text, names[i]);
        ASSERT_NE(entry->Icon, nullptr);
        EXPECT_EQ(entry->Icon->Hidden, 1);
        EXPECT_EQ(entry->Icon->X, entry->Hotspot->X); // placed with its button
        EXPECT_EQ(entry->Hotspot->Inactive, 1);
    }

    EXPECT_EQ(Caption->Hidden, 1);
    EXPECT_EQ(AmountText->Hidden, 1);
    EXPECT_EQ(WarningMark->Tag, "NULLGAD");
    EXPECT_EQ(WarningMark->Kind, "DEFAULT");
    EXPECT_EQ(WarningMark->X, 385.0f);
    EXPECT_EQ(WarningMark->Y, 385.0f);
    EXPECT_FALSE(Shown(WarningMark));
    EXPECT_EQ(LevelSlider->Tag, "SKILLAMOUNT");
    EXPECT_EQ(LevelSlider->Kind, "_DISPLAY_RADIAL");
    EXPECT_EQ(LevelSlider->MinX, 325);
    EXPECT_EQ(LevelSlider->MaxX, 475);
    EXPECT_EQ(LevelSlider->Y, 450.0f);
    EXPECT_EQ(LevelSlider->PickMode, "DRAG");
    EXPECT_FALSE(Shown(LevelSlider));

    struct TButton {
        THotspotRef hotspot;
        const char* tag;
        float x, y;
    };
    for (const TButton& b : {TButton{GoalCloseButton, "GOALCLOSE", 372, 500},
                             {GoalSetButton, "GOALSET", 388, 475},
                             {ItemLeftButton, "ITEMNEXTLEFT", 372, 470},
                             {ItemRightButton, "ITEMNEXTRIGHT", 403, 470}}) {
        EXPECT_EQ(b.hotspot->Tag, b.tag);
        EXPECT_EQ(b.hotspot->Kind, "GOALMENU_RADIAL");
        EXPECT_EQ(b.hotspot->X, b.x) << b.tag;
        EXPECT_EQ(b.hotspot->Y, b.y) << b.tag;
        EXPECT_EQ(b.hotspot->HoverFrame, 1);
        EXPECT_EQ(b.hotspot->HoldFrame, 2);
        EXPECT_FALSE(Shown(b.hotspot)) << b.tag;
    }
    EXPECT_EQ(LevelIndicator->FrameCount, 10);
    EXPECT_EQ(LevelIndicator->Image, nullptr);
    EXPECT_EQ(LevelIndicator->X, 330.0f);
    EXPECT_EQ(LevelIndicator->Hidden, 1);
    EXPECT_NE(LevelStrips[3], nullptr);
    EXPECT_EQ(LevelStrips[0], nullptr); // no art, no strip
}

TEST_F(GoalMenuTest, OpeningAsksTheGoalTypeAndHoldsTheStationsUntilClosed) {
    TStation* shown = TStation::Create();
    shown->target = THotspot::CreateForSprite(TSprite::Create(1), "station_gym", "_STATIONS");
    TStation* hidden = TStation::Create();
    hidden->target = THotspot::CreateForSprite(TSprite::Create(1), "station_pub", "_STATIONS");
    hidden->target->Hide();

    TGoalMenu::OpenGoalMenu();
    EXPECT_EQ(OpenRadial, TypeRadial);
    EXPECT_EQ(Caption->Text, "Goal Type?");
    EXPECT_EQ(Caption->Hidden, 0);
    EXPECT_EQ(Caption->Y, 350.0f);
    EXPECT_EQ(button->Inactive, 1);
    EXPECT_EQ(GoalMenuOpen, 1);
    EXPECT_EQ(shown->target->Inactive, 1);

    TGoalMenu::CloseGoalMenu();
    EXPECT_EQ(GoalMenuOpen, 0);
    EXPECT_EQ(button->Inactive, 0);
    EXPECT_EQ(shown->target->Inactive, 0);
    EXPECT_EQ(hidden->target->Inactive, 1);
    EXPECT_EQ(Caption->Hidden, 1);
}

TEST_F(GoalMenuTest, PickingASkillShowsTheSliderAndTheSkillsLevelStrip) {
    TGoalMenu::OpenGoalMenu();
    TGoalMenu::ChooseSkillGoal();
    EXPECT_EQ(OpenRadial, SkillRadial);
    EXPECT_EQ(Caption->Text, "Skill Type?");
    EXPECT_EQ(button->Inactive, 1);

    TGoalMenu::ChooseSkill("RADITEM_SKILL_WEALTH");
    EXPECT_EQ(ChosenSkill, 3);
    EXPECT_EQ(Caption->Text, "What Level?");
    EXPECT_TRUE(Shown(LevelSlider));
    EXPECT_EQ(AmountText->Text, "2");
    EXPECT_EQ(AmountText->Hidden, 0);
    EXPECT_EQ(AmountText->Y, 390.0f);
    EXPECT_EQ(LevelIndicator->Image, LevelStrips[3]);
    EXPECT_EQ(LevelIndicator->Frame, 0);
    EXPECT_EQ(LevelIndicator->Hidden, 0);
    EXPECT_TRUE(Shown(GoalCloseButton));
    EXPECT_TRUE(Shown(GoalSetButton));

    TGoalMenu::ChooseSkill("RADITEM_SKILL_MAGIC");
    EXPECT_EQ(ChosenSkill, 3);
    TGoalMenu::ChooseSkill("RADITEM_SKILL_FITNESS");
    EXPECT_EQ(ChosenSkill, 0);

    TGoalMenu::CloseGoalMenu();
    for (const THotspotRef& h : {LevelSlider, GoalCloseButton, GoalSetButton, WarningMark})
        EXPECT_FALSE(Shown(h)) << h->Tag;
    EXPECT_EQ(AmountText->Hidden, 1);
    EXPECT_EQ(LevelIndicator->Hidden, 1);
}

TEST_F(GoalMenuSliderTest, FitnessAtFourOffersFiveToTen) {
    Player.skillLevel[0] = 4;
    TGoalMenu::ChooseSkill("RADITEM_SKILL_FITNESS");
    EXPECT_EQ(LevelAtOffset(0), 5);
    EXPECT_EQ(LevelIndicator->Frame, 4);
    EXPECT_EQ(AmountText->Text, "5");
    EXPECT_EQ(LevelAtOffset(70), 7);
    EXPECT_EQ(LevelAtOffset(140), 10);
    EXPECT_EQ(LevelAtOffset(150), 10);
    EXPECT_EQ(AmountText->Text, "10");
    EXPECT_EQ(LevelIndicator->Frame, 9);
}

TEST_F(GoalMenuSliderTest, ASkillAtTheTopIsOfferedLevelTenOnly) {
    Player.skillLevel[1] = 10;
    TGoalMenu::ChooseSkill("RADITEM_SKILL_MENTAL");
    for (int offset : {0, 1, 70, 150})
        EXPECT_EQ(LevelAtOffset(offset), 10) << offset;
}

TEST_F(GoalMenuSliderTest, HighLevelsOfTheFirstThreeSkillsNeedWealth) {
    TGoalMenu::ChooseSkill("RADITEM_SKILL_SOCIAL");
    struct TCase {
        int level, wealth;
        bool warned;
    };
    const TCase cases[] = {{5, 1, false}, {6, 2, true},  {6, 3, false}, {9, 4, true},
                           {9, 5, false}, {10, 7, true}, {10, 8, false}};
    for (const TCase& c : cases) {
        Player.skillLevel[3] = c.wealth;
        ASSERT_TRUE(SlideTo(c.level));
        EXPECT_EQ(Warned(), c.warned) << "level " << c.level << " with wealth " << c.wealth;
    }
}

TEST_F(GoalMenuSliderTest, WealthIsCappedByTheJob) {
    TGoalMenu::ChooseSkill("RADITEM_SKILL_WEALTH");
    ASSERT_TRUE(SlideTo(2));
    EXPECT_TRUE(Warned()); // no job, no wealth
    Player.inventory[2] = Job("job_cook", 4);
    ASSERT_TRUE(SlideTo(4));
    EXPECT_FALSE(Warned());
    ASSERT_TRUE(SlideTo(5));
    EXPECT_TRUE(Warned());
}

TEST_F(GoalMenuSliderTest, LeadershipNeedsALeadingJob) {
    TGoalMenu::ChooseSkill("RADITEM_SKILL_LEADERSHIP");
    ASSERT_TRUE(SlideTo(2));
    EXPECT_TRUE(Warned());
    Player.inventory[0] = Job("job_guildmaster", 5);
    ASSERT_TRUE(SlideTo(8));
    EXPECT_FALSE(Warned());
    ASSERT_TRUE(SlideTo(9));
    EXPECT_TRUE(Warned());
    // The job that counts is the last one in slot order.
    Player.inventory[3] = Job("job_councilmember", 5);
    ASSERT_TRUE(SlideTo(8));
    EXPECT_TRUE(Warned());
    ASSERT_TRUE(SlideTo(5));
    EXPECT_FALSE(Warned());
    Player.inventory[3] = Job("job_chancellor", 5);
    ASSERT_TRUE(SlideTo(10));
    EXPECT_FALSE(Warned());
}

TEST_F(GoalMenuSliderTest, SettingTheGoalClosesTheDialogAndCreatesIt) {
    TGoalMenu::OpenGoalMenu();
    TGoalMenu::ChooseSkill("RADITEM_SKILL_MENTAL");
    ASSERT_TRUE(SlideTo(6));
    Player.skillLevel[3] = 1; // the warning does not stop it
    TGoalMenu::UpdateLevelSlider();
    ASSERT_TRUE(Warned());
    TGoalMenu::SetSkillGoal();
    EXPECT_EQ(GoalMenuOpen, 0);
    EXPECT_FALSE(Shown(LevelSlider));
    ASSERT_EQ(GoalList.size(), 1u);
    EXPECT_EQ(GoalList.front()->skill, 1);
    EXPECT_EQ(GoalList.front()->targetLevel, 6);
    EXPECT_NE(GoalList.front()->icon, nullptr);
    EXPECT_EQ(GoalList.front()->focused, 0);
}

TEST_F(GoalMenuSliderTest, AtTheGoalLimitSettingOnlyClosesTheDialog) {
    for (int i = 0; i < MaxGoals; ++i)
        TGoal::Create();
    Item("apple");
    TGoalMenu::OpenGoalMenu();
    TGoalMenu::SetSkillGoal();
    EXPECT_EQ(GoalMenuOpen, 0);
    TGoalMenu::OpenGoalMenu();
    TGoalMenu::SetItemGoal("apple");
    EXPECT_EQ(GoalMenuOpen, 0);
    EXPECT_EQ(GoalCount, 15);
    for (const TGoalRef& goal : GoalList)
        EXPECT_TRUE(goal->itemTag.empty());
}

TEST_F(GoalMenuPagesTest, SevenItemsFillOnePage) {
    TGoalMenu::BuildItemPages(Items(7));
    EXPECT_EQ(LastPage, 0);
    ASSERT_NE(ItemPages[0], nullptr);
    EXPECT_EQ(ItemPages[1], nullptr);
    EXPECT_EQ(ItemPages[0]->SlotCount, 8);
    EXPECT_EQ(ItemPages[0]->ItemCount, 7);
    EXPECT_EQ(ItemPages[0]->Items[6]->Value, "thing6");
    EXPECT_EQ(ItemPages[0]->Items[6]->Hotspot->Tag, "RADITEM_ITEM_thing6");
    EXPECT_EQ(ItemPages[0]->OwnerHotspot, button);
    EXPECT_EQ(ItemPages[0]->HasHelp, 0);

    TGoalMenu::OpenGoalMenu();
    TGoalMenu::ChooseItemGoal();
    EXPECT_EQ(OpenRadial, ItemPages[0]);
    EXPECT_EQ(Caption->Text, "Pick Item:");
    EXPECT_FALSE(Shown(ItemRightButton));
    EXPECT_FALSE(Shown(ItemLeftButton));
    EXPECT_EQ(button->Inactive, 1);
}

TEST_F(GoalMenuPagesTest, AnEighthItemGoesOntoASecondPageAndThePagesTurn) {
    TGoalMenu::BuildItemPages(Items(8));
    EXPECT_EQ(LastPage, 1);
    EXPECT_EQ(ItemPages[1]->SlotCount, 2);
    EXPECT_EQ(ItemPages[1]->ItemCount, 1);
    EXPECT_EQ(ItemPages[1]->Items[0]->Value, "thing7");

    TGoalMenu::ChooseItemGoal();
    EXPECT_TRUE(Shown(ItemRightButton));
    EXPECT_FALSE(Shown(ItemLeftButton));
    TGoalMenu::TurnItemPage(1);
    EXPECT_EQ(CurrentPage, 1);
    EXPECT_EQ(OpenRadial, ItemPages[1]);
    EXPECT_EQ(ItemPages[0]->Items[0]->Hotspot->Inactive, 1);
    EXPECT_FALSE(Shown(ItemRightButton));
    EXPECT_TRUE(Shown(ItemLeftButton));
    EXPECT_TRUE(Logged("cit: 1"));
    EXPECT_EQ(button->Inactive, 1);
    TGoalMenu::TurnItemPage(1);
    EXPECT_EQ(CurrentPage, 1);
    TGoalMenu::TurnItemPage(-1);
    EXPECT_EQ(CurrentPage, 0);
    EXPECT_EQ(OpenRadial, ItemPages[0]);

    TGoalMenu::TurnItemPage(1);
    TGoalMenu::SetItemGoal("thing7");
    EXPECT_EQ(CurrentPage, 0);
    EXPECT_EQ(OpenRadial, nullptr);
    EXPECT_FALSE(Shown(ItemLeftButton));
    ASSERT_EQ(GoalList.size(), 1u);
    EXPECT_EQ(GoalList.front()->itemTag, "thing7");
    EXPECT_TRUE(GoalList.front()->IsItemGoal());
}

TEST_F(GoalMenuPagesTest, TwentyOneItemsFillThreePagesAndNoneLeaveOneEmptyPage) {
    TGoalMenu::BuildItemPages(Items(21));
    EXPECT_EQ(LastPage, 2);
    for (const TRadialRef& page : ItemPages)
        EXPECT_EQ(page->ItemCount, 7);
    EXPECT_EQ(ItemPages[2]->Items[6]->Value, "thing20");

    // Rebuilding for another level drops the old pages and their buttons.
    TGoalMenu::BuildItemPages({});
    EXPECT_EQ(LastPage, 0);
    EXPECT_EQ(ItemPages[0]->SlotCount, 1);
    EXPECT_EQ(ItemPages[0]->ItemCount, 0);
    EXPECT_EQ(ItemPages[1], nullptr);
    EXPECT_EQ(THotspot::FindByTag("RADITEM_ITEM_thing0"), nullptr);
    TGoalMenu::ChooseItemGoal();
    EXPECT_FALSE(Shown(ItemRightButton));
}

TEST_F(GoalMenuPagesTest, ATwentySecondItemStopsTheProgram) {
    const std::vector<std::string> tags = Items(22);
    EXPECT_EXIT(TGoalMenu::BuildItemPages(tags), ::testing::ExitedWithCode(1), "Too many item choices!");
}

TEST_F(GoalMenuPagesTest, ItemsOutOfReachNowAreShownInTheSecondVariant) {
    Item("apple");
    Item("crown");
    Item("ghost");
    Unlocked("TAG=\"action_pick\"\nGiveItem(\"apple\")\n");
    Unlocked("TAG=\"action_crown\"\nGiveItem(\"crown\")\nRequireSkill(\"Leadership\", \"9\")\n");
    TGoalMenu::BuildItemPages({"apple", "crown", "ghost"});
    TGoalMenu::ChooseItemGoal();
    const auto& entries = ItemPages[0]->Items;
    EXPECT_EQ(entries[0]->Hotspot->NormalFrame, 0);
    EXPECT_EQ(entries[1]->Hotspot->NormalFrame, 3);
    EXPECT_EQ(entries[1]->Hotspot->Sprite->Frame, 3);
    EXPECT_EQ(entries[2]->Hotspot->NormalFrame, 3); // nothing gives it
    // Still a goal can be set for it.
    TGoalMenu::SetItemGoal("crown");
    EXPECT_EQ(GoalList.front()->itemTag, "crown");
}

} // namespace
