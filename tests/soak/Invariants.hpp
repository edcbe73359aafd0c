#pragma once
// What must hold after every frame of any game, whatever the player did: skills, motivation, goals,
// inventory, radial menus and the panel lock within their bounds. Reads the game's state, changes nothing.

#include "platform/Platform.hpp"

#include <string>

// The gadget and every parent of it visible: what a player can see and press.
bool InSight(TGadget gadget);

// "" when everything holds, else a line naming what broke and its values.
std::string CheckInvariants();
