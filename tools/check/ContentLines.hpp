#pragma once
// Field 0 of each line of a content file that carries a key, read by the game's own reader the way its
// loaders read repeated commands. For what the loaders take in but do not keep: an item's icon path, the
// action tags a station dropped.

#include <string>
#include <vector>

std::vector<std::string> FirstFields(const std::string& path, const std::string& key);
// The whole file as bytes, read by the game's own bounded reader; empty when it cannot be read. For the
// pages and texts no loader reads. Why a file that is there was not read (a FIFO, a device, a folder, too
// large) is given in `refusal` when the caller asks.
std::string FileText(const std::string& path, std::string* refusal = nullptr);
