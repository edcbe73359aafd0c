#include "TempGameFolder.hpp"
#include "WebTestSupport.hpp"

#include <gtest/gtest.h>
#include <webkit2/webkit2.h>

#include <filesystem>
#include <fstream>

namespace {

// A menu page under an "html" folder whose link is written the way the game's pages write them.
struct TPages : TTempGameFolder {
    std::string menu =
        Write("content/html/index.html",
              "<html><head><title>start</title></head><body style='margin:0'>"
              "<a href=\"redirects\\page.html\" style='position:absolute;left:0;top:0;width:300px;"
              "height:100px;display:block;background:#8f8'>go</a></body></html>");
    TPages() : TTempGameFolder("gorum_html_view") {
        Write("content/html/redirects/page.html",
              "<html><head><title>arrived</title></head><body><p id='part'>here</p></body></html>");
        Write("content/html/jump.html",
              "<html><head><title>jump</title><script>location.replace('redirects/page.html')</script>"
              "</head></html>");
    }
};

struct THtmlScene {
    TGadget window = OpenWindow("Pages", 100, 100, 400, 300, nullptr, StyleTitleBar | StyleClientCoords);
    TGadget view = AddHtmlView(0, 0, 400, 300, window);
    WebKitWebView* Web() const { return ::Web(view); }
    bool Shows(const std::string& title) const { return ::Shows(view, title); }
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
    Navigate(scene.view, (pages.root / "content" / "html" / "jump.html").string());
    ASSERT_TRUE(scene.Shows("arrived"));
    const std::string url = CurrentUrl(scene.view);
    EXPECT_TRUE(url.starts_with("file://")) << url;
    EXPECT_TRUE(url.ends_with("html/redirects/page.html")) << url;
}

// A page takes its style sheet and pictures from content/ and media/, whichever way its links are written;
// a file beside those folders, one reached through a link out of them, and a folder show nothing.
TEST_F(GtkTest, HtmlView_APageGetsTheGamesOwnFilesAndNothingElse) {
    TTempGameFolder game("gorum_page_files");
    game.Write("content/html/look.css", "body { color: rgb(1, 2, 3) }");
    std::filesystem::copy_file(game.previous / "media" / "GoldLink.png", game.root / "beside.png");
    std::filesystem::create_symlink(game.root / "beside.png", game.root / "content" / "html" / "linked.png");
    const std::string page = game.Write(
        "content/html/page.html",
        "<html><head><title>page</title><link rel='stylesheet' href='look.css'><script>var refused=0;"
        "document.addEventListener('securitypolicyviolation',function(){refused++})</script></head><body>"
        "<img id='remote' src='http://127.0.0.1:9/remote.png'>"
        "<img id='own' src='..\\..\\media\\GoldLink.png'><img id='slashed' src='../../media/GoldLink.png'>"
        "<img id='beside' src='../../beside.png'><img id='linked' src='linked.png'></body></html>");
    THtmlScene scene;
    Navigate(scene.view, page);
    ASSERT_TRUE(scene.Shows("page"));
    const auto width = [&](const char* id) {
        return Eval(scene.view, std::string("document.getElementById('") + id + "').naturalWidth");
    };
    ASSERT_TRUE(PumpUntil([&] { return Eval(scene.view, "document.readyState") == "complete"; }, 5000));
    EXPECT_EQ(Eval(scene.view, "getComputedStyle(document.body).color"), "rgb(1, 2, 3)");
    EXPECT_NE(width("own"), "0");
    EXPECT_NE(width("slashed"), "0");
    EXPECT_EQ(width("beside"), "0");
    EXPECT_EQ(width("linked"), "0");
    // The page's own policy refused the remote picture before any other part of the seal saw it.
    EXPECT_EQ(Eval(scene.view, "refused"), "1");

    // A folder is no page: the view lists nothing in it.
    Navigate(scene.view, (game.root / "content" / "html").string() + "/");
    PumpFor(1000);
    EXPECT_EQ(Eval(scene.view, "document.body ? document.body.innerText : ''").find("look.css"),
              std::string::npos);
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
