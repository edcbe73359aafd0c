#include "panels/GlobalGadgets.hpp"

#include "panels/Widget.hpp"

bool PanelLocked = false;
TGadget CurrentPanel = nullptr;
bool WorldHidden = false;
TGadget MainWindow = nullptr;
TGadget GameCanvas = nullptr;
int DebugLevel = 0;
std::function<void(bool visible)> TutorialWindowVisibility;

void PanelLog(int level, const std::string& text) {
    if (DebugLevel >= level) DebugLog(text);
}

void TGlobalGadgets::Create() {
    TWidget* window = TWidget::Create("WINMAIN");
    MainWindow =
        OpenWindow("Gorum", 150, 75, 800, 600, nullptr, StyleTitleBar | StyleStatusBar | StyleClientCoords);
    window->Gadget = MainWindow;

    TWidget* canvas = TWidget::Create("GAMEWORLD");
    GameCanvas = AddCanvas(0, 0, 800, 600, MainWindow, 0);
    canvas->Gadget = GameCanvas;

    SetDrawTarget(GameCanvas);
    ClearTarget();
    Present();

    if (MainWindow == nullptr || GameCanvas == nullptr) PanelLog(1, "LOG: Unable to create a global gadget.");
}

void TGlobalGadgets::HideWorld() {
    SetVisible(GameCanvas, false);
    if (CurrentPanel != nullptr) SetVisible(CurrentPanel, false);
    if (TutorialWindowVisibility) TutorialWindowVisibility(false);
    WorldHidden = true;
}

void TGlobalGadgets::ShowWorld() {
    SetVisible(GameCanvas, true);
    if (CurrentPanel != nullptr) SetVisible(CurrentPanel, true);
    if (TutorialWindowVisibility) TutorialWindowVisibility(true);
    WorldHidden = false;
}
