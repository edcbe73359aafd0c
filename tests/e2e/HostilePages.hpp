#pragma once
// The pages a sealed-views test shows: every way a page could reach the network, a local file or the media
// stack, aimed at a loopback port. Each page ends its tries by putting " done" after its title; a page with
// an element #out is meant to get a real click on it.

#include "tests/e2e/DriverRun.hpp"

#include <string>
#include <vector>

// Writes the pages into the game folder and returns their paths inside it, in the order to show them.
std::vector<std::string> HostilePages(const TGameFolder& folder, int port);
