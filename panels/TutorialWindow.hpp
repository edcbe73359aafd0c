#pragma once
// The small second window beside the game that shows a level's HTML tutorial page.
// At most one exists; it lives from a level's start until the game goes back to the level list.
// Nothing here fails: closing or hiding a window that does not exist does nothing.

#include "panels/Widget.hpp"
#include "platform/Platform.hpp"

#include <string>

struct TTutorialWindow {
    // A title of "USEURL" shows the location itself; each negative number takes the default shape.
    static void Open(const std::string& url, const std::string& title, int x, int y, int width, int height);
    // Replaces any window that exists by a fresh one, placed beside the main window (see the .cpp).
    static void Create();
    static void Close();
    static void Hide();
    static void Show();
    // Shows the window again at the given page, wherever the player had followed its links to.
    static void ShowPage(const std::string& url);
};

extern TWidget* TutorialWidget; // tagged "WINTUTORIAL", its gadget the window
extern TGadget TutorialWindow;
extern TGadget TutorialView;
extern std::string TutorialUrl;
extern bool TutorialHidden;
extern int TutorialDefaultX;
extern int TutorialDefaultY;
extern int TutorialDefaultWidth;
extern int TutorialDefaultHeight;
