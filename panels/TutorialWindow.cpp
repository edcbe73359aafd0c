#include "panels/TutorialWindow.hpp"

#include "panels/GlobalGadgets.hpp"

#include <algorithm>

TWidget* TutorialWidget = nullptr;
TGadget TutorialWindow = nullptr;
TGadget TutorialView = nullptr;
std::string TutorialUrl;
bool TutorialHidden = true;
int TutorialDefaultX = 0;
int TutorialDefaultY = 0;
int TutorialDefaultWidth = 0;
int TutorialDefaultHeight = 0;

namespace {

constexpr int StartX = 5;
constexpr int StartY = 25;
constexpr int StartWidth = 440;
constexpr int StartHeight = 480;
// Room left between the two windows for their frames.
constexpr int Gap = 16;
// The canvas rows the prompt's buttons use, down to the prompt's bottom edge: never under the tutorial.
constexpr int PromptBottom = 250;
constexpr int SmallestHeight = 200;

struct TShape {
    int x, y, w, h;
};

// The tutorial beside the main window, on the side with room. When neither side has room but the screen
// holds both, the main window moves over to make it. On a smaller screen the tutorial goes to the
// screen's right edge below the prompt, whose buttons it must never hide.
TShape PlaceBeside(int w, int h) {
    const TBounds screen = WorkArea(MainWindow);
    if (MainWindow == nullptr || screen.w <= 0) return {StartX, StartY, w, h};
    const TBounds main = Bounds(MainWindow);
    const int mainX = main.x, mainY = main.y, mainW = main.w;
    const int top = std::max(screen.y, mainY);
    const int right = screen.x + screen.w;
    if (mainX + mainW + Gap + w <= right) return {mainX + mainW + Gap, top, w, h};
    if (mainX - Gap - w >= screen.x) return {mainX - Gap - w, top, w, h};
    if (mainW + Gap + w <= screen.w) {
        const int pairX = screen.x + (screen.w - mainW - Gap - w) / 2;
        SetBounds(MainWindow, pairX, mainY, mainW, main.h);
        return {pairX + mainW + Gap, top, w, h};
    }
    const int below = mainY + PromptBottom + Gap;
    const int room = screen.y + screen.h - below;
    return {std::max(screen.x, right - w), below, w, std::max(SmallestHeight, std::min(h, room))};
}

// The world takes the window along when it hides and shows.
void FollowWorld(bool visible) {
    TutorialHidden = !visible;
    SetVisible(TutorialWindow, visible);
}

int OrDefault(int value, int fallback) {
    return value < 0 ? fallback : value;
}

} // namespace

void TTutorialWindow::Create() {
    // The old window goes with its widget, so no registered widget is left holding a freed gadget.
    Close();
    TutorialWidget = TWidget::Create("WINTUTORIAL");
    const TShape shape = PlaceBeside(StartWidth, StartHeight);
    TutorialWindow =
        OpenWindow("", shape.x, shape.y, shape.w, shape.h, nullptr, StyleTitleBar | StyleClientCoords);
    TutorialWidget->Gadget = TutorialWindow;
    TutorialView = AddHtmlView(0, 0, shape.w, shape.h, TutorialWindow, 0);
    TutorialDefaultX = shape.x;
    TutorialDefaultY = shape.y;
    TutorialDefaultWidth = shape.w;
    TutorialDefaultHeight = shape.h;
    TutorialWindowVisibility = FollowWorld;
}

void TTutorialWindow::Open(const std::string& url, const std::string& title, int x, int y, int width,
                           int height) {
    const std::string shownTitle = title == "USEURL" ? url : title;
    Create();
    TutorialUrl = url;
    Navigate(TutorialView, url);
    SetText(TutorialWindow, shownTitle);
    const int w = OrDefault(width, TutorialDefaultWidth);
    const int h = OrDefault(height, TutorialDefaultHeight);
    SetBounds(TutorialWindow, OrDefault(x, TutorialDefaultX), OrDefault(y, TutorialDefaultY), w, h);
    SetBounds(TutorialView, 0, 0, w, h);
    TutorialHidden = false;
    // Under the menu page the tutorial waits and comes up with the world.
    if (WorldHidden) FollowWorld(false);
}

void TTutorialWindow::Close() {
    if (TutorialWindow == nullptr || TutorialView == nullptr) return;
    DestroyGadget(TutorialView);
    TutorialWidget->Destroy();
    TutorialWidget = nullptr;
    TutorialWindow = nullptr;
    TutorialView = nullptr;
    TutorialWindowVisibility = nullptr;
}

void TTutorialWindow::Hide() {
    if (TutorialWindow == nullptr) return;
    TutorialHidden = true;
    SetVisible(TutorialWindow, false);
}

void TTutorialWindow::ShowPage(const std::string& url) {
    if (TutorialWindow == nullptr) return;
    Navigate(TutorialView, url);
    Show();
}

void TTutorialWindow::Show() {
    if (TutorialWindow == nullptr) return;
    TutorialHidden = false;
    SetVisible(TutorialWindow, true);
}
