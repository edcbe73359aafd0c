// The menu and tutorial pages in the real HTML view: real clicks on the game's own pages lead where
// the dispatch expects, and the menu screens fit the window without scrolling.
#include "tests/platform/LoopbackListener.hpp"
#include "tests/platform/TempGameFolder.hpp"
#include "tests/platform/WebTestSupport.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/TutorialWindow.hpp"
#include "panels/Widget.hpp"
#include "platform/LinkLocation.hpp"

#include <gtest/gtest.h>
#include <webkit2/webkit2.h>

#include <filesystem>
#include <string>

namespace {

bool Fits(TGadget view, int width, int height) {
    return Eval(view, "document.documentElement.scrollWidth<=" + std::to_string(width) +
                          "&&document.documentElement.scrollHeight<=" + std::to_string(height)) == "true";
}

bool UrlSettles(TGadget view, const std::function<bool(const std::string&)>& done) {
    return PumpUntil([&] { return done(CurrentUrl(view)); }, 10000);
}

class MenuGuiTest : public GtkTest {
  protected:
    void SetUp() override {
        GtkTest::SetUp();
        WidgetRegistry.clear();
        CurrentPanel = nullptr;
        WorldHidden = false;
        TutorialWidget = nullptr;
        TutorialWindow = TutorialView = nullptr;
        MenuView = nullptr;
        TGlobalGadgets::Create();
        ASSERT_TRUE(WaitMapped(MainWindow));
    }
    void TearDown() override {
        TutorialWindowVisibility = nullptr;
        MenuView = nullptr;
        TutorialWindow = TutorialView = nullptr;
        GtkTest::TearDown();
    }
    const std::string menu = CurrentDirectory() + "/content/html/MainMenu.html";
};

TEST_F(MenuGuiTest, PlayThenALevelLinkReachesTheLocationThatStartsTheLevel) {
    TMenuBrowser::Open(menu, -1, -1, -1, -1);
    ASSERT_TRUE(Shows(MenuView, "Gorum"));
    EXPECT_TRUE(Fits(MenuView, 800, 600));
    ASSERT_TRUE(ClickElement(MenuView, "a[href=\"#levels\"]"));
    ASSERT_TRUE(UrlSettles(MenuView, [](const std::string& u) { return u.ends_with("#levels"); }));
    EXPECT_EQ(CurrentUrl(MenuView).find("html\\"), std::string::npos);
    PumpFor(200);
    EXPECT_TRUE(Fits(MenuView, 800, 600)) << "the level list fits without scrolling";

    ASSERT_TRUE(ClickElement(MenuView, "a[href=\"redirects\\\\\\\\levelnum02.html\"]"));
    ASSERT_TRUE(
        UrlSettles(MenuView, [](const std::string& u) { return u.find("redirects") != std::string::npos; }));
    const std::string url = CurrentUrl(MenuView);
    const size_t mark = url.rfind("html\\");
    ASSERT_NE(mark, std::string::npos) << url;
    const std::string rest = url.substr(mark + 5);
    EXPECT_TRUE(rest.starts_with("redirects")) << url;
    EXPECT_EQ(rest.substr(18, 2), "02") << url;

    // A level that cannot start leaves the player here, with a way back to the list.
    ASSERT_TRUE(Shows(MenuView, "Level 02"));
    ASSERT_TRUE(ClickElement(MenuView, "a"));
    ASSERT_TRUE(
        UrlSettles(MenuView, [](const std::string& u) { return u.ends_with("MainMenu.html#levels"); }));
    EXPECT_EQ(CurrentUrl(MenuView).find("redirects"), std::string::npos) << CurrentUrl(MenuView);
}

TEST_F(MenuGuiTest, AboutPageFitsAndLeadsBack) {
    TMenuBrowser::Open(menu, -1, -1, -1, -1);
    ASSERT_TRUE(Shows(MenuView, "Gorum"));
    ASSERT_TRUE(ClickElement(MenuView, "a[href=\"About.html\"]"));
    ASSERT_TRUE(Shows(MenuView, "About Gorum"));
    EXPECT_TRUE(Fits(MenuView, 800, 600));
    ASSERT_TRUE(ClickElement(MenuView, "a.back"));
    ASSERT_TRUE(Shows(MenuView, "Gorum"));
    EXPECT_TRUE(CurrentUrl(MenuView).ends_with("MainMenu.html")) << CurrentUrl(MenuView);
}

TEST_F(MenuGuiTest, TutorialPagesFitTheirWindowAndPageOnward) {
    TTutorialWindow::Open(CurrentDirectory() + "/content/tut/Tutorial1.html", "Tutorial First Steps", -1, -1,
                          -1, -1);
    ASSERT_TRUE(WaitMapped(TutorialWindow));
    ASSERT_TRUE(Shows(TutorialView, "Tutorial: your first week"));
    EXPECT_EQ(Eval(TutorialView, "document.documentElement.scrollWidth<=440"), "true");
    ASSERT_TRUE(ClickElement(TutorialView, ".nav a"));
    ASSERT_TRUE(Shows(TutorialView, "Tutorial: setting goals"));
    EXPECT_EQ(Eval(TutorialView, "document.documentElement.scrollWidth<=440"), "true");
    // Every later level's page pages onward the same way and fits as well.
    for (int level = 3; level <= 8; ++level) {
        ASSERT_TRUE(ClickElement(TutorialView, ".nav a.next")) << level;
        ASSERT_TRUE(UrlSettles(TutorialView, [level](const std::string& u) {
            return u.ends_with("Tutorial" + std::to_string(level) + ".html");
        })) << level;
        PumpFor(200);
        EXPECT_EQ(Eval(TutorialView, "document.documentElement.scrollWidth<=440"), "true") << level;
    }
}

TEST_F(MenuGuiTest, NeitherViewReachesTheNetworkWhateverItsPageTries) {
    TLoopbackListener server;
    ASSERT_GT(server.port, 0);
    size_t seen = 0;
    // Whether anyone connected since the last look.
    const auto knocked = [&] {
        const size_t before = seen;
        seen = server.Knocks().size();
        return seen > before;
    };
    const std::string remote = "http://127.0.0.1:" + std::to_string(server.port) + "/";
    const TTempGameFolder game("gorum_remote_pages");
    const auto page = [&](const std::string& name, const std::string& head, const std::string& body) {
        return game.Write("content/html/" + name + ".html", "<html><head><title>" + name + "</title>" + head +
                                                                "</head><body>" + body + "</body></html>");
    };
    const std::string link =
        page("link", "", "<a id='out' href='" + remote + "link' style='display:block;height:200px'>out</a>");
    const std::vector<std::string> tries = {
        page("image", "", "<img src='" + remote + "a.png'>"),
        page("script", "<script src='" + remote + "a.js'></script>", ""),
        page("import", "<style>@import url('" + remote + "a.css');</style>", ""),
        page("fetch", "<script>fetch('" + remote + "data').catch(function(){});</script>", ""),
        page("preconnect", "<link rel='preconnect' href='" + remote + "'>", ""),
        page("refresh", "<meta http-equiv='refresh' content='0; url=" + remote + "refresh'>", ""),
        page("redirect", "<script>location.replace('" + remote + "redirect');</script>", ""),
    };

    const auto tryAll = [&](TGadget view) {
        ASSERT_TRUE(Shows(view, "link"));
        ASSERT_TRUE(ClickElement(view, "#out"));
        PumpFor(1000);
        EXPECT_FALSE(knocked()) << "a click on a remote link";
        EXPECT_EQ(webkit_web_view_get_title(Web(view)), std::string("link"));
        for (const std::string& location : tries) {
            Navigate(view, location);
            const std::string name = std::filesystem::path(location).stem().string();
            EXPECT_TRUE(Shows(view, name)) << name;
            PumpFor(700);
            EXPECT_FALSE(knocked()) << name;
            EXPECT_TRUE(std::string(webkit_web_view_get_uri(Web(view))).starts_with(PageRoot)) << name;
        }
    };
    // The tutorial first: the menu page hides it.
    TTutorialWindow::Open(link, "Tutorial", -1, -1, -1, -1);
    ASSERT_TRUE(WaitMapped(TutorialWindow));
    tryAll(TutorialView);
    TMenuBrowser::Open(link, -1, -1, -1, -1);
    tryAll(MenuView);
}

} // namespace
