#pragma once
// Whether a frame's calls leave no pixel of a w x h canvas as it was before them. Drawn again over itself,
// such a frame looks exactly the same. Counts only what surely replaces a pixel: a clear, a rectangle in
// a copying blend, and an unscaled image at whole pixels that is opaque or drawn solid.

#include "platform/FrameRecord.hpp"

#include <vector>

bool PaintsEveryPixel(const std::vector<TFrameCall>& calls, int w, int h);
