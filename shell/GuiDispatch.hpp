#pragma once
// Routes every queued event to the panels' handlers by the tag of the widget it came from.

void DispatchGuiEvent();
void HandleWindowAndReviewEvent();
