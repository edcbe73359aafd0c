#pragma once
// One information page: the title, description and data of a station or an action, and the panel switches.
// Each station and action owns its page. Show fills the information panel through InfoPageShower, which
// the shell connects to the panel; unconnected, a page still converts its line breaks and shows nothing.

#include "platform/Platform.hpp"

#include <functional>
#include <string>

struct TInfoText {
    std::string Title;
    std::string Info;
    std::string Data;
    int ShowList = 0;
    int ShowClose = 0;
    int ShowHelp = 0;
    std::string Kind;
    int ShowBack = 0;
    TImage Picture; // shown in the panel's picture frame: the station, or what the action gives
    int PictureFrame = 0;

    static TInfoText Create();
    // Turns every "~n" into a line break (kept in the page), then hands the page to the panel.
    void Show();
};

extern std::function<void(const TInfoText& page)> InfoPageShower;

// Every "~n" of the text becomes a line break; every page and prompt of the game converts its texts so.
void ReplaceLineBreaks(std::string& text);
