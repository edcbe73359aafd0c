#pragma once
// Seals one HTML view (see WebSeal for the whole seal). The engine's features that would reach the network,
// look names up, write files or open devices and media are off; navigations and responses are refused
// unless they are the game's own pages; new windows, downloads, permissions, file choosers and printing
// are refused. A script in every page also cancels clicks on links that leave the game, so that such a
// click does nothing visible: a convenience only, since the page can defeat it; the refusals are what
// hold.

#include <webkit2/webkit2.h>

void SealView(WebKitWebView* web, WebKitUserContentManager* manager);
