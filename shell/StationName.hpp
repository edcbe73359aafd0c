#pragma once
// The name of the place under the pointer, on a label just above it: the places are known by their names
// in every text, and the pictures alone do not tell the Library from the Bank.

#include "rules/Station.hpp"

// The station the pointer rests on while the town is free to use; none under a panel, an open ring or a
// held token.
const TStation* HoveredStation();
// Shows, moves or takes away the label to match the pointer; once per frame tick.
void UpdateStationName();
