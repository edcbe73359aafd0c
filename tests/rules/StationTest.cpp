#include "tests/rules/RulesFixture.hpp"

namespace {

class StationTest : public RulesTest {
  protected:
    void SetUp() override {
        RulesTest::SetUp();
        dir.WriteBmp("art/gym.bmp", 100, 80);
        dir.WriteBmp("art/alt1.bmp", 60, 60);
        dir.WriteBmp("art/alt2.bmp", 70, 70);
        dir.WriteBmp("art/alt3.bmp", 90, 90);
    }
    TStation* Station(const std::string& text) {
        return TStation::Load(dir.Write(NextName("stations"), text));
    }
    static const std::string Image;
};

const std::string StationTest::Image = "SetImage(\"art/gym.bmp\", \"100\", \"80\", \"0\", \"1\")\n";

TEST_F(StationTest, LoadsImagePositionTagAndPage) {
    TStation* s =
        Station(Image + "NAME=\"Gym\"\nTAG=\"station_gym\"\nDESCRIPTION=\"Sweat\"\nDATA=\"Open daily\"\n"
                        "SetPosition(\"120\", \"$40\")\n");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->tag, "station_gym");
    EXPECT_EQ(s->target->Tag, "station_gym");
    EXPECT_EQ(s->target->Kind, "_STATIONS");
    EXPECT_EQ(s->target->Inactive, 1); // hidden until a level offers it
    EXPECT_EQ(s->target->Width, 100);
    EXPECT_EQ(s->target->Height, 80);
    EXPECT_EQ(s->x, 120);
    EXPECT_EQ(s->y, 64);
    EXPECT_FLOAT_EQ(s->target->X, 120.0f);
    EXPECT_FLOAT_EQ(s->images[0]->Y, 64.0f);
    EXPECT_EQ(s->images[0]->Layer, TLayer::Find("stations"));
    EXPECT_EQ(s->infoText.Title, "Gym");
    EXPECT_EQ(s->infoText.Info, "Sweat");
    EXPECT_EQ(s->infoText.Data, "Open daily");
    EXPECT_EQ(s->infoText.ShowList, 1);
    EXPECT_EQ(s->infoText.ShowBack, 0);
    EXPECT_EQ(s->infoText.ShowClose, 1);
    EXPECT_EQ(s->infoText.ShowHelp, 1);
    EXPECT_EQ(s->infoText.Kind, "STATIONINFO");
    EXPECT_EQ(TStation::FindByTag("station_gym"), s);
    EXPECT_EQ(TStation::FindByTargetTag("station_gym"), s);
    EXPECT_TRUE(log.empty());
}

TEST_F(StationTest, WithoutSetImageThereIsNoStation) {
    const std::string path = dir.Write("stations/bad.txt", "TAG=\"station_bad\"\n");
    EXPECT_EQ(TStation::Load(path), nullptr);
    EXPECT_TRUE(StationList.empty());
    EXPECT_TRUE(Logged("ERROR: Station" + path + " did not set an image!"));
}

TEST_F(StationTest, InvalidImagePathsAreLoggedAndLoadingGoesOn) {
    TStation* s = Station("SetImage(\"art/none.png\")\nSetAlternate(\"art\")\nTAG=\"station_x\"\n");
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(Logged("art/none.png isn't valid!"));
    EXPECT_TRUE(Logged("art isn't valid!"));
    EXPECT_EQ(s->tag, "station_x");
    EXPECT_EQ(s->images[0]->Image, nullptr);
}

TEST_F(StationTest, MissingTagAndPositionReadNullAndZero) {
    TStation* s = Station(Image);
    EXPECT_EQ(s->tag, "NULL");
    EXPECT_EQ(s->target->Tag, "NULL");
    EXPECT_EQ(s->x, 0);
    EXPECT_FLOAT_EQ(s->target->X, 0.0f);
}

TEST_F(StationTest, TwoAlternatesAtMostAndUseAlternateSwapsTheLook) {
    TStation* s = Station(
        Image + "SetAlternate(\"art/alt1.bmp\",\"60\",\"60\",\"0\",\"1\")\n"
                "SetAlternate(\"art/alt2.bmp\",\"70\",\"70\",\"0\",\"1\")\n"
                "SetAlternate(\"art/alt3.bmp\",\"90\",\"90\",\"0\",\"1\")\nSetPosition(\"5\",\"6\")\n");
    ASSERT_NE(s->images[1], nullptr);
    ASSERT_NE(s->images[2], nullptr);
    EXPECT_EQ(s->images[1]->FrameWidth, 60);
    EXPECT_EQ(s->images[2]->FrameWidth, 70);
    EXPECT_EQ(s->images[1]->Hidden, 1);
    s->UseAlternate(2);
    EXPECT_EQ(s->target->Sprite, s->images[2]);
    EXPECT_EQ(s->images[0]->Hidden, 1);
    EXPECT_EQ(s->images[2]->Hidden, 0);
    EXPECT_FLOAT_EQ(s->images[2]->X, 5.0f);
    EXPECT_EQ(s->imageIndex, 2);
    s->UseAlternate(0);
    EXPECT_EQ(s->target->Sprite, s->images[0]);
    EXPECT_EQ(s->images[2]->Hidden, 1);
}

TEST_F(StationTest, AnAlternateItLacksKeepsTheCurrentLook) {
    TStation* s = Station(Image + "SetAlternate(\"art/alt1.bmp\",\"60\",\"60\",\"0\",\"1\")\n");
    TStation::Activate(s);
    s->UseAlternate(2);
    s->UseAlternate(7);
    s->UseAlternate(-1);
    EXPECT_EQ(s->target->Sprite, s->images[0]);
    EXPECT_EQ(s->images[0]->Hidden, 0);
    EXPECT_EQ(s->imageIndex, 0);
}

TEST_F(StationTest, ActionsResolveByTagInFileOrderDuplicatesKept) {
    TAction* run = Action("TAG=\"run\"\n");
    TAction* lift = Action("TAG=\"lift\"\n");
    TStation* s = Station(
        Image + "SetAction(\"lift\")\nSetAction(\"ghost\")\nSetAction(\"run\")\nSetAction(\"lift\")\n");
    EXPECT_EQ(s->actions, (std::vector<TAction*>{lift, run, lift}));
}

TEST_F(StationTest, SetPositionMovesTargetAndRadialButNotTheOwnPosition) {
    Unlocked("TAG=\"run\"\n");
    TStation* s = Station(Image + "SetAction(\"run\")\nSetPosition(\"10\",\"20\")\n");
    s->BuildRadial();
    s->SetPosition(300, 200);
    EXPECT_FLOAT_EQ(s->target->X, 300.0f);
    EXPECT_FLOAT_EQ(s->images[0]->Y, 200.0f);
    EXPECT_EQ(s->x, 10);
    EXPECT_EQ(s->y, 20);
    EXPECT_FLOAT_EQ(s->radial->CentreX, 350.0f);
    EXPECT_FLOAT_EQ(s->radial->CentreY, 250.0f);
}

TEST_F(StationTest, ActivationShowsAndHidesTheTarget) {
    TStation* a = Station(Image);
    TStation* b = Station(Image);
    TStation::Activate(a);
    TStation::Activate(b);
    EXPECT_EQ(a->target->Inactive, 0);
    EXPECT_EQ(a->images[0]->Hidden, 0);
    TStation::Deactivate(a);
    EXPECT_EQ(a->target->Inactive, 1);
    EXPECT_EQ(b->target->Inactive, 0);
    TStation::DeactivateAll();
    EXPECT_EQ(b->target->Inactive, 1);
}

TEST_F(StationTest, RadialListsTheUnlockedActionsInOrder) {
    TAction* run = Unlocked("TAG=\"run\"\nNAME=\"Run\"\nGiveSkill(\"Fitness\",\"\",\"\",\"5\")\n");
    Action("TAG=\"shut\"\nNAME=\"Shut\"\n");
    TAction* read = Unlocked("TAG=\"read\"\nNAME=\"Read\"\n");
    TStation* s = Station(Image + "TAG=\"station_gym\"\nSetPosition(\"101\",\"203\")\n"
                                  "SetAction(\"run\")\nSetAction(\"shut\")\nSetAction(\"read\")\n");
    s->BuildRadial();
    ASSERT_NE(s->radial, nullptr);
    EXPECT_EQ(s->radial->SlotCount, 3);
    EXPECT_EQ(s->radial->ItemCount, 2);
    ASSERT_GE(s->radial->Items.size(), 2u);
    EXPECT_EQ(s->radial->Items[0]->Hotspot->Tag, "RADACTION_run");
    EXPECT_EQ(s->radial->Items[1]->Hotspot->Tag, "RADACTION_read");
    EXPECT_EQ(std::any_cast<TAction*>(s->radial->Items[0]->Hotspot->Owner), run);
    EXPECT_EQ(std::any_cast<TAction*>(s->radial->Items[1]->Hotspot->Owner), read);
    EXPECT_FLOAT_EQ(s->radial->CentreX, 151.0f);
    EXPECT_FLOAT_EQ(s->radial->CentreY, 243.0f);
    EXPECT_FLOAT_EQ(s->radial->Radius, 150.0f);
    EXPECT_EQ(s->radial->MenuKind, "STATION");
    EXPECT_EQ(s->radial->OwnerHotspot, s->target);
    EXPECT_EQ(std::any_cast<TStation*>(s->radial->OwnerObject), s);
    EXPECT_EQ(s->radial->Items[0]->Hotspot->Inactive, 1); // built closed
    EXPECT_TRUE(Logged("3"));
    EXPECT_TRUE(Logged("New Radial Created for station_gym: 3 items."));
}

TEST_F(StationTest, RebuildingReplacesTheRadialAndAllLockedLeavesOneEmptySlot) {
    TAction* run = Unlocked("TAG=\"run\"\n");
    TStation* s = Station(Image + "SetAction(\"run\")\n");
    s->BuildRadial();
    const TRadialRef first = s->radial;
    run->locked = 1;
    s->BuildRadial();
    EXPECT_NE(s->radial, first);
    EXPECT_EQ(s->radial->SlotCount, 1);
    EXPECT_EQ(s->radial->ItemCount, 0);
    EXPECT_EQ(THotspot::FindByTag("RADACTION_run"), nullptr);
    EXPECT_EQ(std::count(RadialList.begin(), RadialList.end(), first), 0);
}

TEST_F(StationTest, RadialStatesFollowCanRunAndGoals) {
    Item("medal");
    Unlocked("TAG=\"easy\"\n");
    TAction* hard = Unlocked("TAG=\"hard\"\nRequireSkill(\"Mind\",\"4\")\n");
    Unlocked("TAG=\"prize\"\nGiveItem(\"medal\")\n");
    Action("TAG=\"closed\"\n");
    TStation* s = Station(
        Image + "SetAction(\"closed\")\nSetAction(\"easy\")\nSetAction(\"hard\")\nSetAction(\"prize\")\n");
    s->BuildRadial();
    s->radial->Open();
    ActiveGoalWalker = [](const TGoalVisitor& visit) { visit(0, 0, "medal"); };
    s->UpdateRadialStates();
    const auto& items = s->radial->Items;
    // Frames tell the variants apart: variant v rests on frame v x 3.
    EXPECT_EQ(items[0]->Hotspot->Inactive, 0);
    EXPECT_EQ(items[0]->Hotspot->Sprite->Frame, 0);
    EXPECT_EQ(items[1]->Hotspot->Inactive, 1);
    EXPECT_EQ(items[1]->Hotspot->Sprite->Frame, 2 * FramesPerVariant);
    EXPECT_EQ(items[1]->Hotspot->Sprite->Hidden, 0); // disabled, still shown
    EXPECT_EQ(items[2]->Hotspot->Inactive, 0);
    EXPECT_EQ(items[2]->Hotspot->Sprite->Frame, 1 * FramesPerVariant);
    Player.skillLevel[1] = 4;
    hard->locked = 0;
    s->radial->Open();
    s->UpdateRadialStates();
    EXPECT_EQ(items[1]->Hotspot->Inactive, 0);
    EXPECT_EQ(items[1]->Hotspot->Sprite->Frame, 0);
}

TEST_F(StationTest, InfoPageListsUnlockedActionsWithSkillIcons) {
    Unlocked("TAG=\"a\"\nNAME=\"Swim\"\nGiveSkill(\"Fitness\",\"\",\"\",\"5\")\nGiveSkill(\"Social\",\"\","
             "\"\",\"5\")\n");
    Action("TAG=\"b\"\nNAME=\"Locked\"\nGiveSkill(\"Wealth\",\"\",\"\",\"5\")\n");
    Unlocked("TAG=\"c\"\nNAME=\"Chat\"\n");
    Unlocked("TAG=\"d\"\nNAME=\"Lead\"\nGiveSkill(\"4\",\"\",\"\",\"5\")\n");
    TStation* s = Station(Image + "TAG=\"station_pool\"\nDESCRIPTION=\"Wet~nand cold\"\n"
                                  "SetAction(\"a\")\nSetAction(\"b\")\nSetAction(\"c\")\nSetAction(\"d\")\n");
    std::vector<std::string> shown;
    InfoPageShower = [&](const TInfoText& page) { shown.push_back(page.Info); };
    std::string filledTag;
    std::vector<std::pair<std::string, int>> filled;
    StationInfoFiller = [&](const std::string& tag, const std::vector<std::pair<std::string, int>>& entries) {
        EXPECT_EQ(shown.size(), 1u); // the page shows before its list is filled
        filledTag = tag;
        filled = entries;
    };
    s->ShowInfo();
    EXPECT_EQ(shown, (std::vector<std::string>{"Wet\nand cold"}));
    EXPECT_EQ(s->infoText.Info, "Wet\nand cold");
    EXPECT_EQ(filledTag, "station_pool");
    EXPECT_EQ(filled, (std::vector<std::pair<std::string, int>>{{"Swim", 3}, {"Chat", 0}, {"Lead", 5}}));
}

// What a station's page and ring show: the station as it looks now, and the item an action gives.
TEST_F(StationTest, PagesAndRingsArePicturedByTheStationAndTheGivenItem) {
    dir.WriteBmp("art/shoes.bmp", 50, 50);
    Item("shoes", "NOMINAL", "SetIcon(\"art/shoes.bmp\")\n");
    TAction* buy = Unlocked("TAG=\"buy\"\nNAME=\"Buy\"\nGiveItem(\"shoes\")\n");
    Unlocked("TAG=\"run\"\nNAME=\"Run\"\nGiveSkill(\"Fitness\",\"\",\"\",\"5\")\n");
    ASSERT_NE(TItem::FindByTag("shoes")->icon, nullptr);
    EXPECT_EQ(buy->infoText.Picture, TItem::FindByTag("shoes")->icon);
    TStation* s = Station(Image + "TAG=\"station_shop\"\nSetAlternate(\"art/alt1.bmp\", \"60\", \"60\", "
                                  "\"0\", \"1\")\nSetAction(\"buy\")\nSetAction(\"run\")\n");
    s->BuildRadial();
    ASSERT_NE(s->radial->Items[0]->Icon, nullptr);
    ASSERT_NE(s->radial->Items[1]->Icon, nullptr);
    EXPECT_EQ(s->radial->Items[0]->Icon->Image, TItem::FindByTag("shoes")->icon);
    EXPECT_NE(s->radial->Items[1]->Icon->Image, TItem::FindByTag("shoes")->icon);
    TImage shown;
    InfoPageShower = [&](const TInfoText& page) { shown = page.Picture; };
    s->ShowInfo();
    EXPECT_EQ(shown, s->images[0]->Image);
    s->UseAlternate(1);
    s->ShowInfo();
    EXPECT_EQ(shown, s->images[1]->Image);
}

TEST_F(StationTest, LoadAllComesAfterActions) {
    Action("TAG=\"run\"\n");
    dir.Write("content/stations/gym.txt", Image + "TAG=\"station_gym\"\nSetAction(\"run\")\n");
    dir.Write("content/stations/broken.txt", "TAG=\"station_broken\"\n");
    EXPECT_EQ(TStation::LoadAll(), 2);
    ASSERT_EQ(StationList.size(), 1u);
    EXPECT_EQ(StationList[0]->actions.size(), 1u);
}

} // namespace
