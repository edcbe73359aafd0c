#pragma once
// The main window and the game canvas, the panel lock and the world's visibility.
// Written only by panels/; the rest of the game reads these.

#include "platform/Platform.hpp"

#include <functional>

extern bool PanelLocked;     // set by a locking Show, cleared by any group's Hide
extern TGadget CurrentPanel; // the panel body shown last; never cleared
extern bool WorldHidden;     // between HideWorld and ShowWorld
extern TGadget MainWindow;
extern TGadget GameCanvas;
extern int DebugLevel; // 0 nothing, 1 failures, 2 also creations and destructions

// The tutorial window hides and shows with the world; it installs this when it exists.
extern std::function<void(bool visible)> TutorialWindowVisibility;

// Sends a diagnostic line when DebugLevel is at least the given level.
void PanelLog(int level, const std::string& text);

struct TGlobalGadgets {
    static void Create();
    static void HideWorld();
    static void ShowWorld();
};
