#pragma once
// Key codes as the game knows them (the Windows virtual-key numbers: Escape 27, Enter 13, 'A' for
// the A key, '0' for the zero key), made from GDK key values.
// A key the game has no number for gives 0 and is not reported.

#include <gdk/gdk.h>

int WindowsKeyCode(guint keyval);
// Shift 1, Control 2, Alt 4, as the events' `mods` carry them.
int WindowsKeyMods(guint state);
