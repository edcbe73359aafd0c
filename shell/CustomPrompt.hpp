#pragma once
// A prompt whose texts its owner gives: a level's introduction. Each level owns one; Show writes it into
// the game's one prompt record and shows that, so the dispatch treats it as a "CUSTOM" prompt.
// Show never fails on its own; under another panel's lock the prompt stays hidden (as every prompt does).

#include "platform/Platform.hpp"

#include <string>

struct TCustomPrompt {
    std::string Title;
    std::string Text;
    std::string Note;
    std::string PrimaryLabel;
    std::string SecondaryLabel;
    int ShowClose = 0;
    int ShowHelp = 0;
    TImage Picture; // the level's final goal, beside the note that names it

    // Turns "~n" into line breaks (kept here), then shows the prompt with these texts.
    bool Show();
};
