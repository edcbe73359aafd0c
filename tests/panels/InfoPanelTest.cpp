#include "panels/InfoPanel.hpp"
#include "panels/GlobalGadgets.hpp"
#include "panels/Widget.hpp"
#include "platform/headless/Headless.hpp"

#include <gtest/gtest.h>

namespace {

class InfoPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HeadlessReset();
        WidgetRegistry.clear();
        PanelLocked = false;
        CurrentPanel = nullptr;
        InfoGroup = nullptr;
        MainWindow = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, StyleTitleBar);
        GameCanvas = AddCanvas(0, 0, 800, 600, MainWindow, 0);
        TInfoPanel::Build();
        InfoPageShower = TInfoPanel::ShowPage;
    }
    void TearDown() override { InfoPageShower = nullptr; }

    static TInfoText StationPage() {
        TInfoText page = TInfoText::Create();
        page.Title = "Gym";
        page.Info = "Lift~nthings";
        page.Data = "Open";
        page.ShowList = 1;
        page.ShowClose = 1;
        page.ShowHelp = 1;
        page.Kind = "STATIONINFO";
        return page;
    }
    static TInfoText ActionPage() {
        TInfoText page = StationPage();
        page.Title = "Bench press";
        page.ShowList = 0;
        page.ShowBack = 1;
        return page;
    }
};

TEST_F(InfoPanelTest, ThePicturePanelShowsThePagesPicture) {
    TInfoText station = StationPage();
    station.Picture = CreateImage(100, 100, 2);
    station.PictureFrame = 1;
    TInfoPanel::ShowPage(station);
    EXPECT_EQ(InfoImage->picture, station.Picture);
    EXPECT_EQ(InfoImage->pictureFrame, 1);
    TInfoPanel::ShowPage(ActionPage());
    EXPECT_EQ(InfoImage->picture, nullptr);
}

TEST_F(InfoPanelTest, BuildCreatesTheControlsInOrderHidden) {
    const char* tags[] = {"INFO_PANEL",     "INFO_TITLE", "INFO_INFO", "INFO_DATA", "INFO_IMAGE",
                          "INFO_INVENTORY", "INFO_GO",    "INFO_UP",   "INFO_HELP", "INFO_CLOSE"};
    ASSERT_EQ(InfoGroup->Members.size(), 10u);
    int i = 0;
    for (const TWidget* widget : InfoGroup->Members) {
        EXPECT_EQ(widget->Tag, tags[i++]);
        EXPECT_FALSE(widget->Gadget->visible) << widget->Tag;
    }
    EXPECT_EQ(InfoGroup->Tag, "INFO_PANEL");
    EXPECT_FALSE(PanelLocked);
}

TEST_F(InfoPanelTest, ControlsStandWhereTheLayoutPutsThem) {
    struct TPlace {
        TGadget gadget;
        TGadgetKind kind;
        int x, y, w, h, style;
        const char* text;
    };
    const TPlace places[] = {
        {InfoPanelGadget, TGadgetKind::Panel, 0, 0, 350, 600, 1, "Information"},
        {InfoTitle, TGadgetKind::Label, 10, 20, 250, 15, 16, "TITLE"},
        {InfoInfo, TGadgetKind::Label, 10, 70, 330, 150, 0, "Information"},
        {InfoData, TGadgetKind::Label, 10, 230, 150, 200, 0, "Data and statistics"},
        {InfoImage, TGadgetKind::Panel, 10, 440, 150, 150, 0, "Image"},
        {InfoInventory, TGadgetKind::ListBox, 175, 255, 150, 275, 0, ""},
        {InfoGo, TGadgetKind::Button, 210, 560, 80, 25, 1, "View Item"},
        {InfoUp, TGadgetKind::Button, 305, 24, 40, 20, 1, "Back"},
        {InfoHelp, TGadgetKind::Button, 305, 2, 20, 20, 1, "?"},
        {InfoClose, TGadgetKind::Button, 326, 2, 20, 20, 1, "X"},
    };
    for (const TPlace& p : places) {
        ASSERT_NE(p.gadget, nullptr);
        EXPECT_EQ(p.gadget->kind, p.kind) << p.text;
        EXPECT_EQ(p.gadget->x, p.x) << p.text;
        EXPECT_EQ(p.gadget->y, p.y) << p.text;
        EXPECT_EQ(p.gadget->w, p.w) << p.text;
        EXPECT_EQ(p.gadget->h, p.h) << p.text;
        EXPECT_EQ(p.gadget->style, p.style) << p.text;
        EXPECT_EQ(p.gadget->text, p.text);
        EXPECT_EQ(p.gadget->parent, p.gadget == InfoPanelGadget ? GameCanvas : InfoPanelGadget);
    }
}

TEST_F(InfoPanelTest, StationPageShowsTheListAndNoBack) {
    TInfoText page = StationPage();
    page.Show();
    EXPECT_TRUE(PanelLocked);
    EXPECT_EQ(CurrentPanel, InfoPanelGadget);
    EXPECT_EQ(InfoKind, "STATIONINFO");
    EXPECT_EQ(InfoTitle->text, "Gym");
    EXPECT_EQ(InfoInfo->text, "Lift\nthings");
    EXPECT_EQ(InfoData->text, "Open");
    EXPECT_TRUE(InfoInventory->visible);
    EXPECT_TRUE(InfoGo->visible);
    EXPECT_FALSE(InfoUp->visible);
    EXPECT_TRUE(InfoHelp->visible);
    EXPECT_TRUE(InfoClose->visible);
    EXPECT_EQ(InfoData->w, 150);
}

TEST_F(InfoPanelTest, ActionPageReplacesItWithBackAndWideData) {
    StationPage().Show();
    TInfoText action = ActionPage();
    action.Show();
    EXPECT_EQ(InfoTitle->text, "Bench press");
    EXPECT_EQ(InfoShown.Title, "Bench press");
    EXPECT_FALSE(InfoInventory->visible);
    EXPECT_FALSE(InfoGo->visible);
    EXPECT_TRUE(InfoUp->visible);
    EXPECT_EQ(InfoData->x, 10);
    EXPECT_EQ(InfoData->y, 230);
    EXPECT_EQ(InfoData->w, 300);
    EXPECT_EQ(InfoData->h, 200);
    // Back on the station page the data text narrows again beside the list.
    StationPage().Show();
    EXPECT_EQ(InfoData->w, 150);
    EXPECT_TRUE(InfoInventory->visible);
}

TEST_F(InfoPanelTest, SwitchesHideHelpAndClose) {
    TInfoText page = StationPage();
    page.ShowHelp = 0;
    page.ShowClose = 0;
    page.Show();
    EXPECT_FALSE(InfoHelp->visible);
    EXPECT_FALSE(InfoClose->visible);
    EXPECT_TRUE(InfoPanelGadget->visible);
}

TEST_F(InfoPanelTest, LineBreaksAreConvertedOnceAndKept) {
    TInfoText page = StationPage();
    page.Title = "A~nB";
    page.Data = "~n~n";
    page.Show();
    EXPECT_EQ(page.Title, "A\nB");
    EXPECT_EQ(InfoData->text, "\n\n");
    page.Show();
    EXPECT_EQ(InfoTitle->text, "A\nB");
}

TEST_F(InfoPanelTest, ShowsOverAnotherPanelAndTakesTheLock) {
    TWidgetGroup* other = TWidgetGroup::Create("PROMPT_PANEL");
    TWidget* body = TWidget::Create("PROMPT_PANEL");
    body->Gadget = AddPanel(200, 200, 100, 100, GameCanvas, 1);
    other->Add(body);
    other->Show(true);
    StationPage().Show();
    EXPECT_TRUE(InfoPanelGadget->visible);
    EXPECT_TRUE(body->Gadget->visible);
    EXPECT_TRUE(PanelLocked);
    TInfoPanel::Close();
    EXPECT_TRUE(PanelLocked) << "the panel underneath keeps the world locked";
}

TEST_F(InfoPanelTest, CloseHidesEverythingAndReleasesTheLock) {
    StationPage().Show();
    EXPECT_TRUE(TInfoPanel::Close());
    EXPECT_FALSE(PanelLocked);
    for (const TWidget* widget : InfoGroup->Members)
        EXPECT_FALSE(widget->Gadget->visible);
}

TEST_F(InfoPanelTest, StationListCarriesNamesAndSkillIcons) {
    StationPage().Show();
    TInfoPanel::ShowStationList("station_gym", {{"Run", 1}, {"Chat", 0}, {"Lead", 5}});
    EXPECT_EQ(InfoStationTag, "station_gym");
    ASSERT_EQ(InfoInventory->items.size(), 3u);
    EXPECT_EQ(InfoInventory->items[0].text, "Run");
    // The strip's first icon is the "no skill" mark, so an icon number is its index as it stands.
    EXPECT_EQ(InfoInventory->items[0].icon, 1);
    EXPECT_EQ(InfoInventory->items[1].icon, 0);
    EXPECT_EQ(InfoInventory->items[2].icon, 5);
    // An action page keeps the list; the next filler replaces it.
    ActionPage().Show();
    EXPECT_EQ(InfoInventory->items.size(), 3u);
    TInfoPanel::ShowStationList("station_pool", {{"Swim", 2}});
    EXPECT_EQ(InfoInventory->items.size(), 1u);
    EXPECT_EQ(InfoStationTag, "station_pool");
}

} // namespace
