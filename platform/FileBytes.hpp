#pragma once
// Reads a whole file into memory, for the text and image loaders. Only a regular file no larger than the
// caller's cap is read: a FIFO or a device named by a content or image path would block or never end, and
// a huge file would only exhaust memory. A missing file is refused quietly; any other refusal is sent to
// the debug log as a warning, or, when the caller takes it, given to the caller instead ("is not a regular
// file; it is not read."). The read takes no more than the size the file had when it was opened.

#include <cstddef>
#include <string>

bool ReadFileBytes(const std::string& path, size_t maxBytes, std::string& bytes,
                   std::string* refusal = nullptr);
