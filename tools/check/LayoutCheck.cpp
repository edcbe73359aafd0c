// Where each started level showed its stations: on the canvas, clear of the display buttons and the time
// bar, clear of each other, and where the level itself put them (an unplaced station stands wherever an
// earlier level left it). The buttons and the bar are read from the scene the game built.
#include "panels/GlobalGadgets.hpp"
#include "platform/GadgetRecord.hpp"
#include "rules/Station.hpp"
#include "scene/Hotspot.hpp"
#include "scene/TimeBar.hpp"
#include "shell/Level.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

#include <algorithm>

namespace {

struct TArea {
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;
};

bool Overlap(const TArea& a, const TShownStation& s) {
    return a.x < s.x + s.w && s.x < a.x + a.w && a.y < s.y + s.h && s.y < a.y + a.h;
}

std::vector<TArea> ReservedAreas(int canvasWidth) {
    std::vector<TArea> areas;
    for (const THotspotRef& hotspot : HotspotList) {
        if (hotspot->Kind == "_DISPLAY") {
            areas.push_back({"the " + hotspot->Tag + " button", static_cast<int>(hotspot->X),
                             static_cast<int>(hotspot->Y), hotspot->Width, hotspot->Height});
        }
    }
    // The bar and the mechanism that rides along it, across the whole top of the canvas.
    int bottom = 0;
    if (TimeBarSprite != nullptr) bottom = static_cast<int>(TimeBarSprite->Y) + TimeBarSprite->FrameHeight;
    if (Mechanism != nullptr) bottom = std::max(bottom, static_cast<int>(Mechanism->Y) + Mechanism->Height);
    areas.push_back({"the time bar", 0, 0, canvasWidth, bottom});
    return areas;
}

std::string At(const TShownStation& s) {
    return Quoted(s.station->tag) + " at (" + std::to_string(s.x) + ", " + std::to_string(s.y) + ")";
}

} // namespace

void CheckLayout(const TContentRun& run, TCheckReport& report) {
    const int width = GameCanvas != nullptr ? GameCanvas->w : 0;
    const int height = GameCanvas != nullptr ? GameCanvas->h : 0;
    const std::vector<TArea> reserved = ReservedAreas(width);
    for (const TLevelStart& start : run.starts) {
        const std::string file = run.FileOf(start.level);
        std::vector<TArea> earlier;
        for (const TShownStation& s : start.shown) {
            if (!s.placed) {
                report.Add(file,
                           "station " + Quoted(s.station->tag) +
                               " is shown but not placed by a SetStation line: it stands where an earlier "
                               "level left it");
                continue;
            }
            if (s.w <= 0 || s.h <= 0) continue; // no picture: the media and log lines say why
            if (s.x < 0 || s.y < 0 || s.x + s.w > width || s.y + s.h > height) {
                report.Add(file, "station " + At(s) + " reaches off the " + std::to_string(width) + " x " +
                                     std::to_string(height) + " canvas");
            }
            for (const TArea& area : reserved) {
                if (Overlap(area, s)) report.Add(file, "station " + At(s) + " covers " + area.name);
            }
            for (const TArea& other : earlier) {
                if (Overlap(other, s)) report.Add(file, "station " + At(s) + " overlaps " + other.name);
            }
            earlier.push_back({"station " + At(s), s.x, s.y, s.w, s.h});
        }
    }
}
