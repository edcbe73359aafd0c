#include "GtkTestSupport.hpp"

#include <gtest/gtest.h>
#include <webkit2/webkit2.h>

#include <filesystem>
#include <fstream>

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// A menu page under an "html" folder whose link is written the way the game's pages write them.
struct TPages {
    std::filesystem::path root = std::filesystem::path(testing::TempDir()) / "gorum_html_view";
    std::string menu = (root / "html" / "index.html").string();
    TPages() {
        std::filesystem::remove_all(root);
        WriteFile(root / "html" / "index.html",
                  "<html><head><title>start</title></head><body style='margin:0'>"
                  "<a href=\"redirects\\page.html\" style='position:absolute;left:0;top:0;width:300px;"
                  "height:100px;display:block;background:#8f8'>go</a></body></html>");
        WriteFile(root / "html" / "redirects" / "page.html",
                  "<html><head><title>arrived</title></head><body><p id='part'>here</p></body></html>");
        WriteFile(root / "html" / "jump.html",
                  "<html><head><title>jump</title><script>location.replace('redirects/page.html')</script>"
                  "</head></html>");
    }
    ~TPages() { std::filesystem::remove_all(root); }
};

struct THtmlScene {
    TGadget window = OpenWindow("Pages", 100, 100, 400, 300, nullptr, StyleTitleBar | StyleClientCoords);
    TGadget view = AddHtmlView(0, 0, 400, 300, window);
    WebKitWebView* Web() const { return WEBKIT_WEB_VIEW(WidgetOf(view)); }
    bool Shows(const std::string& title) const {
        return PumpUntil(
            [&] {
                const gchar* now = webkit_web_view_get_title(Web());
                return now != nullptr && title == now && !webkit_web_view_is_loading(Web());
            },
            10000);
    }
};

TEST_F(GtkTest, HtmlView_RealClickOnABackslashLinkKeepsTheBackslashesAndCanBeNavigatedAgain) {
    TPages pages;
    THtmlScene scene;
    ASSERT_TRUE(WaitMapped(scene.window));
    Navigate(scene.view, pages.menu);
    ASSERT_TRUE(scene.Shows("start"));
    EXPECT_EQ(CurrentUrl(scene.view), pages.menu);
    PumpFor(300);
    ASSERT_TRUE(ClickAt(ScreenPoint(scene.view, 50, 50)));
    ASSERT_TRUE(scene.Shows("arrived"));
    const std::string followed = CurrentUrl(scene.view);
    EXPECT_NE(followed.find("redirects\\page.html"), std::string::npos) << followed;
    // What the game searches for: the page folder and the link joined as a local path would be.
    EXPECT_NE(followed.find("html\\redirects\\page.html"), std::string::npos) << followed;

    Navigate(scene.view, pages.menu);
    ASSERT_TRUE(scene.Shows("start"));
    Navigate(scene.view, followed);
    ASSERT_TRUE(scene.Shows("arrived"));
    EXPECT_EQ(CurrentUrl(scene.view), followed);
    // An anchor on that location stays where it is written, and loads.
    Navigate(scene.view, followed + "#part");
    ASSERT_TRUE(PumpUntil(
        [&] { return std::string(webkit_web_view_get_uri(scene.Web())).ends_with("#part"); }, 5000));
    EXPECT_EQ(CurrentUrl(scene.view), followed + "#part");
}

TEST_F(GtkTest, HtmlView_ALocationTheGameDidNotAskForIsReportedAsTheEngineHasIt) {
    TPages pages;
    THtmlScene scene;
    Navigate(scene.view, (pages.root / "html" / "jump.html").string());
    ASSERT_TRUE(scene.Shows("arrived"));
    const std::string url = CurrentUrl(scene.view);
    EXPECT_TRUE(url.starts_with("file://")) << url;
    EXPECT_TRUE(url.ends_with("html/redirects/page.html")) << url;
}

TEST_F(GtkTest, HtmlView_EscapeReachesTheGameWhileThePageHasTheFocus) {
    TPages pages;
    THtmlScene scene;
    TEventLog log;
    log.Watch({KeyDown}, false);
    ASSERT_TRUE(WaitMapped(scene.window));
    Navigate(scene.view, pages.menu);
    ASSERT_TRUE(scene.Shows("start"));
    gtk_widget_grab_focus(WidgetOf(scene.view));
    ASSERT_TRUE(Xdotool("windowfocus --sync " + std::to_string(XidOf(scene.window))));
    PumpFor(100);
    ASSERT_TRUE(Xdotool("key Escape"));
    ASSERT_TRUE(PumpUntil([&] { return log.Count(KeyDown) > 0; }, 2000));
    EXPECT_EQ(log.Last(KeyDown)->data, KeyEscape);
}

// Loading during start-up gives way until the first page is on screen: painting it needs the processors
// more than the loaders do. Before the game first waits for events, so in a process of its own.
TEST_F(GtkTest, HtmlView_LoadingBeforeTheFirstWaitWaitsUntilTheFirstPageIsShown) {
    TPages pages;
    THtmlScene scene;
    Navigate(scene.view, pages.menu);
    EXPECT_FALSE(GtkHtmlPageShown());
    if (Milliseconds() >= FirstPageWaitLimitMs) GTEST_SKIP() << "this start took longer than the wait";
    EXPECT_NE(LoadImage("media/GoldLink.png"), nullptr);
    // A loaded machine may show the page only after the limit; the loader still must not go on before.
    EXPECT_TRUE(GtkHtmlPageShown() || Milliseconds() >= FirstPageWaitLimitMs) << Milliseconds();
}

// A page that never shows puts start-up off by the limit and no longer.
TEST_F(GtkTest, HtmlView_LoadingWaitsForAPageThatNeverShowsOnlyUpToTheLimit) {
    THtmlScene scene;
    EXPECT_NE(LoadImage("media/GoldLink.png"), nullptr);
    EXPECT_FALSE(GtkHtmlPageShown());
    EXPECT_GE(Milliseconds(), FirstPageWaitLimitMs);
    EXPECT_LT(Milliseconds(), FirstPageWaitLimitMs + 2000);
}

} // namespace
