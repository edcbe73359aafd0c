#pragma once
// Routes every queued event, ticks included, to the panels' handlers by the tag of the widget it came from,
// and watches the menu page for level links. Events of unregistered gadgets are ignored without a word.

void DispatchGuiEvent();
void HandlePromptEvent();
void HandleInfoEvent();
void WatchMenuPage();
void HandleWindowAndReviewEvent();
