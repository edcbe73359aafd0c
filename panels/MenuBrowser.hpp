#pragma once
// The full-window HTML view of the main menu and the level list; while it is open the world is hidden.
// One view at a time, made afresh at every opening and destroyed when a level starts.
// Nothing here fails: a page that does not load leaves the view empty, and the dispatch keeps watching it.

#include "platform/Platform.hpp"

#include <string>

struct TMenuBrowser {
    // Opens the location over the whole window. x and y are ignored; a negative size is the window's.
    static bool Open(const std::string& url, int x, int y, int width, int height);
    // Reopens the page the menu shows with the text appended, such as "#levels".
    static bool OpenPage(const std::string& suffix);
    static void Close();
    static void Recreate();
};

extern TGadget MenuView;
extern std::string MenuUrl;     // the location last given to Open
extern std::string MenuPageUrl; // the page the menu shows, without its anchor; the dispatch keeps it
extern bool MenuClosed;
extern int MenuWidth;
extern int MenuHeight;
