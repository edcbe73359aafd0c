// The widget registry, the groups and the panel lock, on the headless backend.

#include "panels/GlobalGadgets.hpp"
#include "panels/Widget.hpp"
#include "panels/WidgetGroup.hpp"
#include "platform/EventChain.hpp"
#include "platform/GadgetRecord.hpp"
#include "platform/headless/Headless.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WidgetRegistryTest : public ::testing::Test {
  protected:
    std::vector<std::string> log;

    void SetUp() override {
        DebugLevel = 0;
        while (!WidgetRegistry.empty())
            WidgetRegistry.front()->Destroy();
        HeadlessReset();
        SetDebugLogSink([this](const std::string& line) { log.push_back(line); });
        PanelLocked = false;
        CurrentPanel = nullptr;
        WorldHidden = false;
        DebugLevel = 0;
        window = OpenWindow("test", 0, 0, 800, 600, nullptr, 41);
    }

    TWidget* Make(const std::string& tag, TGadget parent = nullptr) {
        TWidget* widget = TWidget::Create(tag);
        widget->Gadget = AddButton(tag, 0, 0, 10, 10, parent == nullptr ? window : parent);
        return widget;
    }

    // A group of n members with gadgets, all hidden.
    TWidgetGroup* HiddenGroup(const std::string& tag, int n) {
        TWidgetGroup* group = TWidgetGroup::Create(tag);
        for (int i = 0; i < n; ++i) {
            TWidget* widget = Make(tag + std::to_string(i));
            SetVisible(widget->Gadget, false);
            group->Add(widget);
        }
        return group;
    }

    TGadget window = nullptr;
};

TEST_F(WidgetRegistryTest, FindsTheFirstRegisteredWidgetOfAGadgetAndForgetsDestroyedOnes) {
    TWidget* first = Make("SAME");
    TWidget* second = Make("SAME");
    EXPECT_EQ(TWidget::FindWidgetByGadget(first->Gadget), first);
    EXPECT_EQ(TWidget::FindWidgetByGadget(second->Gadget), second);
    EXPECT_EQ(TWidget::FindWidgetByGadget(second->Gadget)->Tag, "SAME");

    TGadget gone = first->Gadget;
    const size_t gadgetsBefore = AllGadgets().size();
    EXPECT_TRUE(first->Destroy());
    EXPECT_EQ(first->Tag, "DESTROYING...");
    EXPECT_EQ(AllGadgets().size(), gadgetsBefore - 1);
    EXPECT_EQ(TWidget::FindWidgetByGadget(gone), nullptr);
    EXPECT_EQ(WidgetRegistry.size(), 1u);
}

TEST_F(WidgetRegistryTest, DestroyingAWidgetWithoutGadgetUnregistersItAndFails) {
    TWidget* bare = TWidget::Create("BARE");
    DebugLevel = 1;
    EXPECT_FALSE(bare->Destroy());
    EXPECT_TRUE(WidgetRegistry.empty());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "LOG: Gadget is null in destroying widget: 'BARE'");
}

TEST_F(WidgetRegistryTest, DestroyingAGadgetTakesItsChildrenWithIt) {
    TWidget* panel = TWidget::Create("PANEL");
    panel->Gadget = AddPanel(0, 0, 100, 100, window, 1);
    Make("CHILD", panel->Gadget);
    const size_t before = AllGadgets().size();
    panel->Destroy();
    EXPECT_EQ(AllGadgets().size(), before - 2);
}

TEST_F(WidgetRegistryTest, LogsOnlyWhatTheDebugLevelAllows) {
    TWidget::Create();
    TWidgetGroup::Create();
    TWidget::Create("NAMED");
    EXPECT_TRUE(log.empty());

    DebugLevel = 1;
    TWidget::Create();
    TWidget::Create("NAMED");
    TWidgetGroup::Create();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "LOG: A widget was created without a tag identifier!");
    EXPECT_EQ(log[1], "LOG: A group has been created without an identifier!");

    log.clear();
    DebugLevel = 2;
    HeadlessSetClock(1234);
    TWidget::Create();
    TWidget::Create("NAMED");
    TWidgetGroup::Create("G");
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "LOG: A widget was created without a tag identifier!");
    EXPECT_EQ(log[1], "LOG: A widget has been created at: 1234");
    EXPECT_EQ(log[2], "LOG: A group has been created at: 1234");

    log.clear();
    TWidget* named = Make("KILLME");
    log.clear();
    named->Destroy();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "LOG: Widget 'KILLME' was destroyed.");
}

TEST_F(WidgetRegistryTest, FailedLookupsAndAddsReportAtLevelOne) {
    DebugLevel = 1;
    TWidgetGroup* group = TWidgetGroup::Create("G");
    EXPECT_EQ(TWidget::FindWidgetByGadget(window), nullptr);
    EXPECT_FALSE(group->Add(nullptr));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "LOG: Failure to find a widget from gadget.");
    EXPECT_EQ(log[1], "LOG: Failure to add widget to group 'G'");
}

TEST_F(WidgetRegistryTest, ALockedPanelKeepsOthersHiddenAndTheLockUntilItHides) {
    TWidgetGroup* first = HiddenGroup("A", 2);
    TWidgetGroup* second = HiddenGroup("B", 2);

    EXPECT_TRUE(first->Show(true));
    EXPECT_TRUE(PanelLocked);
    for (TWidget* member : first->Members)
        EXPECT_TRUE(member->Gadget->visible);

    EXPECT_TRUE(second->Show(true));
    for (TWidget* member : second->Members)
        EXPECT_FALSE(member->Gadget->visible);

    // Hiding a panel that never showed leaves the open one locked.
    EXPECT_TRUE(second->Hide());
    EXPECT_TRUE(PanelLocked);
    EXPECT_TRUE(first->Hide());
    EXPECT_FALSE(PanelLocked);

    EXPECT_TRUE(second->Show(false));
    EXPECT_FALSE(PanelLocked);
    for (TWidget* member : second->Members)
        EXPECT_TRUE(member->Gadget->visible);
}

TEST_F(WidgetRegistryTest, APanelShownOverAnotherHandsTheLockBackWhenEitherCloses) {
    TWidgetGroup* under = HiddenGroup("A", 1);
    TWidgetGroup* over = HiddenGroup("B", 1);
    under->Show(true);
    EXPECT_TRUE(over->ShowOverOthers());
    EXPECT_TRUE(over->Members.front()->Gadget->visible);
    over->Hide();
    EXPECT_TRUE(PanelLocked) << "the panel underneath is still open";
    under->Hide();
    EXPECT_FALSE(PanelLocked);

    under->Show(true);
    over->ShowOverOthers();
    under->Hide();
    EXPECT_TRUE(PanelLocked) << "the panel on top is still open";
    over->Hide();
    EXPECT_FALSE(PanelLocked);
}

TEST_F(WidgetRegistryTest, ShowAndHideStopAtAMemberWithoutGadget) {
    TWidgetGroup* group = HiddenGroup("G", 2);
    TWidget* bare = TWidget::Create("BARE");
    group->Add(bare);
    TWidget* last = Make("LAST");
    SetVisible(last->Gadget, false);
    group->Add(last);

    DebugLevel = 1;
    EXPECT_FALSE(group->Show(true));
    EXPECT_TRUE(PanelLocked);
    auto it = group->Members.begin();
    EXPECT_TRUE((*it++)->Gadget->visible);
    EXPECT_TRUE((*it++)->Gadget->visible);
    EXPECT_FALSE(last->Gadget->visible);

    EXPECT_FALSE(group->Hide());
    EXPECT_FALSE(PanelLocked);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "LOG: Cannot show a null gadget!");
    EXPECT_EQ(log[1], "LOG: Cannot hide a null gadget!");
}

TEST_F(WidgetRegistryTest, AWidgetAddedToASecondGroupLeavesOnlyThatGroupWhenDestroyed) {
    TWidgetGroup* first = TWidgetGroup::Create("A");
    TWidgetGroup* second = TWidgetGroup::Create("B");
    TWidget* shared = Make("SHARED");
    first->Add(shared);
    second->Add(shared);
    EXPECT_EQ(first->Members.size(), 1u);
    EXPECT_EQ(second->Members.size(), 1u);

    shared->Destroy();
    EXPECT_TRUE(second->Members.empty());
    ASSERT_EQ(first->Members.size(), 1u);
    // The older group still lists it, but its gadget is gone: showing stops there instead of touching it.
    EXPECT_EQ(first->Members.front()->Gadget, nullptr);
    EXPECT_FALSE(first->Show(false));
}

TEST_F(WidgetRegistryTest, HidingTheWorldTakesTheLastPanelAlongAndShowingBringsItBack) {
    GameCanvas = AddCanvas(0, 0, 800, 600, window);
    TWidgetGroup* group = TWidgetGroup::Create("P");
    TWidget* body = TWidget::Create("P_BODY");
    body->Gadget = AddPanel(10, 10, 100, 100, GameCanvas, 1);
    group->Add(body);
    TWidget* button = Make("P_BUTTON", body->Gadget);
    group->Add(button);
    int tutorialShown = -1;
    TutorialWindowVisibility = [&](bool visible) { tutorialShown = visible ? 1 : 0; };

    group->Show(true);
    CurrentPanel = body->Gadget;
    TGlobalGadgets::HideWorld();
    EXPECT_TRUE(WorldHidden);
    EXPECT_FALSE(GameCanvas->visible);
    EXPECT_FALSE(body->Gadget->visible);
    EXPECT_EQ(tutorialShown, 0);
    EXPECT_TRUE(PanelLocked);

    TGlobalGadgets::ShowWorld();
    EXPECT_FALSE(WorldHidden);
    EXPECT_TRUE(GameCanvas->visible);
    EXPECT_TRUE(body->Gadget->visible);
    EXPECT_EQ(tutorialShown, 1);
    EXPECT_TRUE(PanelLocked);

    // After the panel closed, only its body comes back with the world.
    group->Hide();
    TGlobalGadgets::HideWorld();
    TGlobalGadgets::ShowWorld();
    EXPECT_TRUE(body->Gadget->visible);
    EXPECT_FALSE(button->Gadget->visible);
    TutorialWindowVisibility = nullptr;
}

TEST_F(WidgetRegistryTest, GlobalGadgetsAreTheMainWindowAndItsFullSizeCanvas) {
    TGlobalGadgets::Create();
    ASSERT_NE(MainWindow, nullptr);
    ASSERT_NE(GameCanvas, nullptr);
    EXPECT_EQ(MainWindow->text, "Gorum");
    EXPECT_EQ(MainWindow->style, 41);
    EXPECT_EQ(MainWindow->x, 150);
    EXPECT_EQ(MainWindow->y, 75);
    EXPECT_EQ(ClientWidth(MainWindow), 800);
    EXPECT_EQ(ClientHeight(MainWindow), 600);
    EXPECT_EQ(GameCanvas->parent, MainWindow);
    EXPECT_EQ(GameCanvas->w, 800);
    EXPECT_EQ(GameCanvas->h, 600);
    EXPECT_EQ(TWidget::FindWidgetByGadget(MainWindow)->Tag, "WINMAIN");
    EXPECT_EQ(TWidget::FindWidgetByGadget(GameCanvas)->Tag, "GAMEWORLD");
    // Cleared and shown once before anything else is drawn.
    const auto& calls = HeadlessDrawCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2].kind, TDrawKind::Clear);
    EXPECT_EQ(calls.back().kind, TDrawKind::Present);
}

} // namespace
