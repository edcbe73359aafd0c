#include "panels/TutorialWindow.hpp"

#include "panels/GlobalGadgets.hpp"

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
    TutorialWindow =
        OpenWindow("", StartX, StartY, StartWidth, StartHeight, nullptr, StyleTitleBar | StyleClientCoords);
    TutorialWidget->Gadget = TutorialWindow;
    TutorialView = AddHtmlView(0, 0, StartWidth, StartHeight, TutorialWindow, 0);
    TutorialDefaultX = StartX;
    TutorialDefaultY = StartY;
    TutorialDefaultWidth = StartWidth;
    TutorialDefaultHeight = StartHeight;
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

void TTutorialWindow::Show() {
    if (TutorialWindow == nullptr) return;
    TutorialHidden = false;
    SetVisible(TutorialWindow, true);
}
