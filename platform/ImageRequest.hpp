#pragma once
// One image load the game asked for, told to an optional listener (the content checker) as it happens:
// the path, how the picture was to be cut, and whether it loaded. The game sets no listener.

#include "platform/Platform.hpp"

#include <functional>
#include <string>

enum class TImageCut { Whole, Frames, IconStrip };

struct TImageRequest {
    std::string path;
    TImageCut cut = TImageCut::Whole;
    int frameWidth = 0; // Frames only
    int frameHeight = 0;
    int first = 0;
    int count = 0;
    bool loaded = false;
};

void SetImageRequestListener(std::function<void(const TImageRequest&)> listener);
