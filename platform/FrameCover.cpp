#include "platform/FrameCover.hpp"

#include "platform/ImageData.hpp"

#include <algorithm>
#include <cmath>

namespace {

struct TBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The whole pixels lying inside [from, to), clipped to [0, limit].
bool Span(double from, double to, int limit, int& first, int& end) {
    if (!std::isfinite(from) || !std::isfinite(to)) return false;
    if (to < from) std::swap(from, to);
    first = static_cast<int>(std::clamp(std::ceil(from), 0.0, static_cast<double>(limit)));
    end = static_cast<int>(std::clamp(std::floor(to), 0.0, static_cast<double>(limit)));
    return first < end;
}

bool Copies(int blend) {
    return blend == BlendMasked || blend == BlendSolid || blend == BlendAlpha;
}

// The box of pixels the call surely replaces, if any.
bool Replaced(const TFrameCall& call, int w, int h, TBox& box) {
    switch (call.op) {
    case TFrameOp::Clear:
        box = {0, 0, w, h};
        return true;
    case TFrameOp::Rect:
        return Copies(call.state.blend) && Span(call.x, double{call.x} + call.w, w, box.x0, box.x1) &&
               Span(call.y, double{call.y} + call.h, h, box.y0, box.y1);
    case TFrameOp::Image: {
        // Scaled or between pixels, edges are sampled from both sides.
        if (call.state.scaleX != 1.0f || call.state.scaleY != 1.0f || call.x != std::floor(call.x) ||
            call.y != std::floor(call.y))
            return false;
        const bool replaces =
            call.state.blend == BlendSolid || (Copies(call.state.blend) && call.image->Opaque(call.frame));
        return replaces && Span(call.x, double{call.x} + call.image->width, w, box.x0, box.x1) &&
               Span(call.y, double{call.y} + call.image->height, h, box.y0, box.y1);
    }
    default:
        return false;
    }
}

} // namespace

bool PaintsEveryPixel(const std::vector<TFrameCall>& calls, int w, int h) {
    if (w <= 0 || h <= 0) return true;
    std::vector<TBox> boxes;
    std::vector<int> edges{0, h};
    for (const TFrameCall& call : calls) {
        TBox box;
        if (!Replaced(call, w, h, box)) continue;
        if (box.x0 == 0 && box.y0 == 0 && box.x1 == w && box.y1 == h) return true;
        boxes.push_back(box);
        edges.push_back(box.y0);
        edges.push_back(box.y1);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    // Band by band between the boxes' edges, the boxes spanning the band must cover its row from end to end.
    std::vector<std::pair<int, int>> spans;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        spans.clear();
        for (const TBox& box : boxes) {
            if (box.y0 <= edges[i] && box.y1 >= edges[i + 1]) spans.emplace_back(box.x0, box.x1);
        }
        std::sort(spans.begin(), spans.end());
        int reach = 0;
        for (const auto& [from, to] : spans) {
            if (from > reach) break;
            reach = std::max(reach, to);
        }
        if (reach < w) return false;
    }
    return true;
}
