// The menu and tutorial pages in the real HTML view: real clicks on the game's own pages lead where
// the dispatch expects, and the menu screens fit the window without scrolling.
#include "tests/platform/GtkTestSupport.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/TutorialWindow.hpp"
#include "panels/Widget.hpp"

#include <gtest/gtest.h>
#include <webkit2/webkit2.h>

#include <string>

namespace {

WebKitWebView* Web(TGadget view) {
    return WEBKIT_WEB_VIEW(WidgetOf(view));
}

bool Shows(TGadget view, const std::string& title) {
    return PumpUntil(
        [&] {
            const gchar* now = webkit_web_view_get_title(Web(view));
            return now != nullptr && title == now && !webkit_web_view_is_loading(Web(view));
        },
        10000);
}

struct TEval {
    bool done = false;
    std::string result;
};

// Runs a script in the page and returns its result as text; "" when it failed.
std::string Eval(TGadget view, const std::string& script) {
    TEval eval;
    webkit_web_view_evaluate_javascript(
        Web(view), script.c_str(), -1, nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* out = static_cast<TEval*>(data);
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
            if (value != nullptr) {
                gchar* text = jsc_value_to_string(value);
                out->result = text;
                g_free(text);
                g_object_unref(value);
            }
            out->done = true;
        },
        &eval);
    PumpUntil([&] { return eval.done; }, 5000);
    return eval.result;
}

// A real click in the middle of the first element the selector finds, scrolled into sight.
bool ClickElement(TGadget view, const std::string& selector) {
    const std::string where =
        Eval(view, "(function(){var e=document.querySelector('" + selector +
                       "');e.scrollIntoView({block:'center'});var r=e.getBoundingClientRect();"
                       "return Math.round(r.left+r.width/2)+' '+Math.round(r.top+r.height/2);})()");
    const size_t space = where.find(' ');
    if (space == std::string::npos) return false;
    PumpFor(200);
    return ClickAt(ScreenPoint(view, std::stoi(where.substr(0, space)), std::stoi(where.substr(space + 1))));
}

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

} // namespace
