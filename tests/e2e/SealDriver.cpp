// Drives the game's two HTML views through the pages a sealed-views test has put in a game folder, for a
// tracer to watch. Run from that game folder; prints one line per page with where each view ended up.
// Usage: seal-driver hostile PAGE... | seal-driver blank PAGE | seal-driver bomb PAGE
//   hostile: the tutorial window, then the menu, each shows every page; a page holding an element #out gets
//            a real click on it; then each view is asked for locations outside the game's content.
//   blank:   the tutorial window shows one page for a few seconds (the seal may keep it blank).
//   bomb:    the tutorial window shows a page that allocates without end, until its process ends.
#include "panels/GlobalGadgets.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/TutorialWindow.hpp"
#include "tests/platform/WebTestSupport.hpp"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Title(TGadget view) {
    const gchar* title = webkit_web_view_get_title(Web(view));
    return title == nullptr ? "" : title;
}

std::string Uri(TGadget view) {
    const gchar* uri = webkit_web_view_get_uri(Web(view));
    return uri == nullptr ? "" : uri;
}

void Report(const char* name, TGadget view, const std::string& page) {
    // What the view shows in its main frame, for the test to tell a local file from the game's pages.
    const std::string text = Eval(view, "document.body?document.body.innerText.slice(0,200):''");
    std::printf("PAGE %s %s uri=%s title=%s text=%s ms=%lld\n", name, page.c_str(), Uri(view).c_str(),
                Title(view).c_str(), text.substr(0, text.find('\n')).c_str(),
                static_cast<long long>(g_get_monotonic_time() / 1000));
    std::fflush(stdout);
}

void ShowEach(const char* name, TGadget view, const std::vector<std::string>& pages) {
    const std::string folder = CurrentDirectory();
    for (const std::string& page : pages) {
        Navigate(view, folder + "/" + page);
        const std::string stem = page.substr(page.rfind('/') + 1, page.rfind('.') - page.rfind('/') - 1);
        PumpUntil([&] { return Title(view) == stem && !webkit_web_view_is_loading(Web(view)); }, 8000);
        if (Eval(view, "!!document.getElementById('out')") == "true" && !ClickElement(view, "#out"))
            std::printf("NOCLICK %s\n", page.c_str());
        // Each page ends its tries by putting " done" after its title.
        PumpUntil([&] { return Title(view) == stem + " done"; }, 3000);
        PumpFor(300);
        Report(name, view, page);
    }
    // Locations outside the content, as a level's tutorial line or a stray link could name them.
    for (const std::string& outside : {folder + "/content/tut/../../../../../../../../etc/passwd",
                                       std::string("/etc/passwd"), std::string("/etc/")}) {
        Navigate(view, outside);
        PumpFor(500);
        Report(name, view, outside);
    }
}

void OpenViews(const std::string& first) {
    TGlobalGadgets::Create();
    WaitMapped(MainWindow);
    // The tutorial first: the menu page hides it.
    TTutorialWindow::Open(first, "Tutorial", -1, -1, -1, -1);
    WaitMapped(TutorialWindow);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string scenario = argv[1];
    const std::vector<std::string> pages(argv + 2, argv + argc);
    const std::string first = CurrentDirectory() + "/" + pages.front();
    OpenViews(first);
    if (scenario == "hostile") {
        ShowEach("tutorial", TutorialView, pages);
        TMenuBrowser::Open(first, -1, -1, -1, -1);
        ShowEach("menu", MenuView, pages);
    } else if (scenario == "blank") {
        PumpFor(2000);
        Report("tutorial", TutorialView, pages.front());
    } else if (scenario == "bomb") {
        bool ended = false;
        g_signal_connect(Web(TutorialView), "web-process-terminated",
                         G_CALLBACK(+[](WebKitWebView*, WebKitWebProcessTerminationReason, gpointer ended) {
                             *static_cast<bool*>(ended) = true;
                         }),
                         &ended);
        const gint64 start = g_get_monotonic_time();
        PumpUntil([&] { return ended; }, 20000);
        std::printf("ENDED %d after %lld ms\n", ended ? 1 : 0,
                    static_cast<long long>((g_get_monotonic_time() - start) / 1000));
        // Still answering: a page of the game shows again in the other view.
        TMenuBrowser::Open(CurrentDirectory() + "/" + pages.back(), -1, -1, -1, -1);
        PumpUntil([] { return !Title(MenuView).empty(); }, 8000);
        Report("menu", MenuView, pages.back());
    }
    EndProgram();
}
