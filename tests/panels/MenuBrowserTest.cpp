#include "panels/MenuBrowser.hpp"
#include "panels/GlobalGadgets.hpp"
#include "panels/TutorialWindow.hpp"
#include "panels/Widget.hpp"
#include "platform/headless/Headless.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

class HtmlWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HeadlessReset();
        WidgetRegistry.clear();
        PanelLocked = false;
        WorldHidden = false;
        CurrentPanel = nullptr;
        MenuView = nullptr;
        MenuClosed = true;
        MenuUrl.clear();
        MenuPageUrl.clear();
        TutorialWidget = nullptr;
        TutorialWindow = nullptr;
        TutorialView = nullptr;
        TutorialHidden = true;
        TutorialWindowVisibility = nullptr;
        MainWindow = OpenWindow("Gorum", 150, 75, 800, 600, nullptr, StyleTitleBar);
        GameCanvas = AddCanvas(0, 0, 800, 600, MainWindow, 0);
        panel = AddPanel(175, 100, 450, 400, GameCanvas, 1);
    }
    void TearDown() override { TutorialWindowVisibility = nullptr; }

    // Freed gadgets' addresses come back for new ones, so liveness is counted by kind.
    static long CountGadgets(TGadgetKind kind) {
        return std::count_if(AllGadgets().begin(), AllGadgets().end(),
                             [&](TGadget g) { return g->kind == kind; });
    }
    static int CountWidgets(const std::string& tag) {
        return static_cast<int>(std::count_if(WidgetRegistry.begin(), WidgetRegistry.end(),
                                              [&](TWidget* w) { return w->Tag == tag; }));
    }
    static void OpenTutorial() {
        TTutorialWindow::Open("/game/content/tut/Tutorial1.html", "Tutorial First Steps", -1, -1, -1, -1);
    }

    TGadget panel = nullptr;
};

TEST_F(HtmlWindowsTest, MenuCoversTheWholeWindowAndHidesTheWorld) {
    CurrentPanel = panel;
    EXPECT_TRUE(TMenuBrowser::Open("/game/content/html/MainMenu.html", 40, 50, -1, -1));
    ASSERT_NE(MenuView, nullptr);
    EXPECT_EQ(MenuView->kind, TGadgetKind::HtmlView);
    EXPECT_EQ(MenuView->parent, MainWindow);
    EXPECT_EQ(MenuView->x, 0) << "the view always sits at the corner";
    EXPECT_EQ(MenuView->y, 0);
    EXPECT_EQ(MenuWidth, 800);
    EXPECT_EQ(MenuHeight, 600);
    EXPECT_EQ(MenuView->w, 800);
    EXPECT_EQ(MenuView->h, 600);
    EXPECT_EQ(MenuView->url, "/game/content/html/MainMenu.html");
    EXPECT_EQ(MenuUrl, "/game/content/html/MainMenu.html");
    EXPECT_FALSE(MenuClosed);
    EXPECT_TRUE(WorldHidden);
    EXPECT_FALSE(GameCanvas->visible);
    EXPECT_FALSE(panel->visible);
}

TEST_F(HtmlWindowsTest, AGivenSizeIsKeptAndEachOpeningMakesAFreshView) {
    TMenuBrowser::Open("/a.html", 0, 0, 300, 200);
    const TGadget first = MenuView;
    EXPECT_EQ(first->w, 300);
    EXPECT_EQ(first->h, 200);
    TMenuBrowser::Open("/b.html", 0, 0, -1, 150);
    EXPECT_EQ(CountGadgets(TGadgetKind::HtmlView), 1)
        << "the old view is destroyed, not left under the new one";
    EXPECT_EQ(MenuView->w, 800);
    EXPECT_EQ(MenuView->h, 150);
}

TEST_F(HtmlWindowsTest, OpenPageReturnsToThePageTheMenuShowedLast) {
    TMenuBrowser::Open("/game/content/html/MainMenu.html", -1, -1, -1, -1);
    MenuPageUrl = "/game/content/html/About.html";
    TMenuBrowser::Close();
    EXPECT_TRUE(TMenuBrowser::OpenPage("#levels"));
    EXPECT_EQ(MenuUrl, "/game/content/html/About.html#levels");
    EXPECT_EQ(MenuView->url, "/game/content/html/About.html#levels");
    EXPECT_FALSE(MenuClosed);
    EXPECT_TRUE(WorldHidden);
}

TEST_F(HtmlWindowsTest, ClosingTheMenuDestroysTheViewAndBringsTheWorldBack) {
    CurrentPanel = panel;
    TMenuBrowser::Open("/m.html", -1, -1, -1, -1);
    TMenuBrowser::Close();
    EXPECT_EQ(CountGadgets(TGadgetKind::HtmlView), 0);
    EXPECT_EQ(MenuView, nullptr);
    EXPECT_TRUE(MenuClosed);
    EXPECT_FALSE(WorldHidden);
    EXPECT_TRUE(GameCanvas->visible);
    EXPECT_TRUE(panel->visible);
}

TEST_F(HtmlWindowsTest, TutorialOpensAsARegisteredWindowAtTheDefaultShape) {
    OpenTutorial();
    ASSERT_NE(TutorialWindow, nullptr);
    ASSERT_NE(TutorialView, nullptr);
    EXPECT_EQ(TutorialWindow->kind, TGadgetKind::Window);
    EXPECT_EQ(TutorialWindow->parent, nullptr);
    EXPECT_EQ(TutorialWindow->style, StyleTitleBar | StyleClientCoords);
    EXPECT_EQ(TutorialWindow->text, "Tutorial First Steps");
    // A 1280-wide screen holds both side by side once the main window moves over.
    EXPECT_EQ(MainWindow->x, 12);
    EXPECT_EQ(TutorialWindow->x, 828);
    EXPECT_EQ(TutorialWindow->y, 75);
    EXPECT_EQ(TutorialWindow->w, 440);
    EXPECT_EQ(TutorialWindow->h, 480);
    EXPECT_EQ(TutorialView->parent, TutorialWindow);
    EXPECT_EQ(TutorialView->x, 0);
    EXPECT_EQ(TutorialView->y, 0);
    EXPECT_EQ(TutorialView->w, 440);
    EXPECT_EQ(TutorialView->h, 480);
    EXPECT_EQ(TutorialView->url, "/game/content/tut/Tutorial1.html");
    EXPECT_EQ(TutorialUrl, "/game/content/tut/Tutorial1.html");
    EXPECT_FALSE(TutorialHidden);
    EXPECT_TRUE(TutorialWindow->visible);
    ASSERT_NE(TutorialWidget, nullptr);
    EXPECT_EQ(TutorialWidget->Tag, "WINTUTORIAL");
    EXPECT_EQ(TWidget::FindWidgetByGadget(TutorialWindow), TutorialWidget);
}

TEST_F(HtmlWindowsTest, TutorialTakesEachGivenNumberAndTheDefaultForTheRest) {
    TTutorialWindow::Open("/t.html", "T", 100, -1, 300, -1);
    EXPECT_EQ(TutorialWindow->x, 100);
    EXPECT_EQ(TutorialWindow->y, 75);
    EXPECT_EQ(TutorialWindow->w, 300);
    EXPECT_EQ(TutorialWindow->h, 480);
    EXPECT_EQ(TutorialView->w, 300);
    EXPECT_EQ(TutorialView->h, 480);
}

// Beside the main window on whichever side has room; on a screen too small for both, clear of the
// intro prompt's buttons (canvas rows 210 to 235).
TEST_F(HtmlWindowsTest, TutorialOpensBesideTheGameOrBelowThePromptsButtons) {
    HeadlessSetWorkArea({0, 0, 1920, 1080});
    OpenTutorial();
    EXPECT_EQ(MainWindow->x, 150);
    EXPECT_EQ(TutorialWindow->x, 966);
    EXPECT_EQ(TutorialWindow->y, 75);

    SetBounds(MainWindow, 1000, 75, 800, 600);
    OpenTutorial();
    EXPECT_EQ(MainWindow->x, 1000);
    EXPECT_EQ(TutorialWindow->x, 544);

    HeadlessSetWorkArea({0, 0, 1024, 768});
    SetBounds(MainWindow, 150, 75, 800, 600);
    OpenTutorial();
    EXPECT_EQ(MainWindow->x, 150);
    EXPECT_EQ(TutorialWindow->x, 584);
    EXPECT_GT(TutorialWindow->y, 75 + 235);
    EXPECT_LE(TutorialWindow->y + TutorialWindow->h, 768);
    EXPECT_EQ(TutorialView->h, TutorialWindow->h);
}

TEST_F(HtmlWindowsTest, ShowingAPageBringsTheWindowBackThere) {
    OpenTutorial();
    HeadlessFollowLink(TutorialView, "/game/content/tut/Tutorial2.html");
    TTutorialWindow::Hide();
    TTutorialWindow::ShowPage(TutorialUrl);
    EXPECT_EQ(TutorialView->url, "/game/content/tut/Tutorial1.html");
    EXPECT_TRUE(TutorialWindow->visible);
    EXPECT_FALSE(TutorialHidden);
}

TEST_F(HtmlWindowsTest, UseUrlPutsTheLocationInTheTitleBar) {
    TTutorialWindow::Open("/game/content/tut/Tutorial2.html", "USEURL", -1, -1, -1, -1);
    EXPECT_EQ(TutorialWindow->text, "/game/content/tut/Tutorial2.html");
}

TEST_F(HtmlWindowsTest, ReopeningReplacesTheWindowAndLeavesOneRegisteredWidget) {
    TTutorialWindow::Open("/t.html", "T", 300, 300, 200, 200);
    const TWidget* oldWidget = TutorialWidget;
    OpenTutorial();
    EXPECT_EQ(CountGadgets(TGadgetKind::Window), 2) << "the main window and the new tutorial";
    EXPECT_EQ(CountGadgets(TGadgetKind::HtmlView), 1);
    EXPECT_NE(TutorialWidget, oldWidget);
    EXPECT_EQ(oldWidget->Tag, "DESTROYING...");
    EXPECT_EQ(CountWidgets("WINTUTORIAL"), 1) << "no widget may be left holding a freed window";
    EXPECT_EQ(TutorialWindow->x, 828);
    EXPECT_EQ(TutorialWindow->w, 440);
}

TEST_F(HtmlWindowsTest, ATutorialOpenedUnderTheMenuWaitsForTheWorld) {
    TMenuBrowser::Open("/m.html", -1, -1, -1, -1);
    OpenTutorial();
    EXPECT_TRUE(TutorialHidden);
    EXPECT_FALSE(TutorialWindow->visible);
    TMenuBrowser::Close();
    EXPECT_FALSE(TutorialHidden);
    EXPECT_TRUE(TutorialWindow->visible);
    // And it goes with the world when the menu comes back.
    TMenuBrowser::OpenPage("#levels");
    EXPECT_FALSE(TutorialWindow->visible);
    EXPECT_TRUE(TutorialHidden);
}

TEST_F(HtmlWindowsTest, HiddenByItsCloseBoxItComesBackUnchanged) {
    OpenTutorial();
    const TGadget window = TutorialWindow;
    TTutorialWindow::Hide();
    EXPECT_TRUE(TutorialHidden);
    EXPECT_FALSE(window->visible);
    EXPECT_EQ(CountGadgets(TGadgetKind::Window), 2);
    TTutorialWindow::Show();
    EXPECT_FALSE(TutorialHidden);
    EXPECT_EQ(TutorialWindow, window);
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(TutorialView->url, "/game/content/tut/Tutorial1.html");
}

TEST_F(HtmlWindowsTest, ClosingFreesTheWindowAndTheWorldNoLongerReachesIt) {
    OpenTutorial();
    TTutorialWindow::Close();
    EXPECT_EQ(CountGadgets(TGadgetKind::Window), 1);
    EXPECT_EQ(CountGadgets(TGadgetKind::HtmlView), 0);
    EXPECT_EQ(TutorialWindow, nullptr);
    EXPECT_EQ(TutorialView, nullptr);
    EXPECT_EQ(CountWidgets("WINTUTORIAL"), 0);
    EXPECT_FALSE(static_cast<bool>(TutorialWindowVisibility));
    TGlobalGadgets::HideWorld();
    TGlobalGadgets::ShowWorld();
    // Closing, hiding or showing again with no window is harmless.
    TTutorialWindow::Close();
    TTutorialWindow::Hide();
    TTutorialWindow::Show();
    EXPECT_EQ(TutorialWindow, nullptr);
}

TEST_F(HtmlWindowsTest, CloseBoxEventMapsBackToTheTutorialWidget) {
    OpenTutorial();
    TEvent seen;
    AddEventHook([&](TEvent* event) {
        if (event->id == WindowClose) seen = *event;
        return event;
    });
    HeadlessCloseWindow(TutorialWindow);
    const TWidget* widget = TWidget::FindWidgetByGadget(seen.source);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->Tag, "WINTUTORIAL");
}

} // namespace
