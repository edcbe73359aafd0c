#pragma once
// Keeps the HTML views on this machine. Three guards, because each engine layer can reach the
// network on its own: a script in every page cancels clicks on remote links before the engine
// starts to follow them (it connects ahead of the navigation policy), the navigation policy refuses
// remote pages, and the engine's content filter blocks every remote load of a page (images, scripts,
// style sheets, fetches, refreshes).

#include <webkit2/webkit2.h>

// The page script and the navigation policy, for a new view.
void GuardLocal(WebKitWebView* web, WebKitUserContentManager* manager);

// Starts compiling the content filter the first time it is called; `settled` runs once when the
// filter is ready or could not be made. Later calls do nothing.
void PrepareLocalFilter(void (*settled)());
bool LocalFilterSettled();
// The game leaves no files behind: the filter's store goes once the filter is in memory, or at the
// end of the program if that comes first.
void RemoveLocalFilterFiles();
// The compiled filter; null before it is ready, or when it could not be made.
WebKitUserContentFilter* LocalFilter();
