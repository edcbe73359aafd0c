#pragma once
// The one web context of the game's HTML views, sealed so that whatever a page's scripts do it reaches no
// network, no file outside the game's content/ and media/, and no more memory than a cap. The seal is made
// of several parts (see WebSeal.cpp); when one of them cannot be set up no page is ever shown, the views
// stay blank and the reason goes to stderr once. Owned by the GTK backend, for the whole run.

#include <string>
#include <webkit2/webkit2.h>

// Before the toolkit starts: the process and every helper the engine starts from it get a private
// temporary folder, removed at exit. Nothing may have asked GLib for the temporary folder yet.
void PrepareProcessForPages();
// Removes the private temporary folder and whatever the engine left in it.
void RemovePrivateFiles();

// The context every view is made in; made on first use.
WebKitWebContext* SealedContext();

enum class TSeal { Pending, Ready, Broken };
// Pending while the content filter is compiled in the background.
TSeal SealState();
// `settled` runs once, when the seal becomes ready or broken.
void WhenSealSettled(void (*settled)());
// The compiled content filter, once the seal is ready.
WebKitUserContentFilter* SealFilter();

// "gorum: " and the text on stderr: the views' refusals that a player or an author should hear of.
void SealNotice(const std::string& text);
