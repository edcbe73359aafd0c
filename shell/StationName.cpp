#include "shell/StationName.hpp"

#include "panels/GlobalGadgets.hpp"
#include "platform/GadgetRecord.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Pointer.hpp"
#include "scene/Radial.hpp"
#include "scene/TextSprite.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr float Gap = 4.0f;
// Below this the label would sit on the time bar, so it goes under the place instead.
constexpr float TopClear = 50.0f;

TTextSpriteRef NameLabel;
const TStation* Named = nullptr;

void TakeLabelAway() {
    if (NameLabel != nullptr) NameLabel->Remove();
    NameLabel = nullptr;
    Named = nullptr;
}

} // namespace

const TStation* HoveredStation() {
    if (WorldHidden || PanelLocked || OpenRadial != nullptr || GrabbedHotspot != nullptr) return nullptr;
    for (const auto& station : StationList) {
        if (station->target != nullptr && station->target->PointerInside()) return station.get();
    }
    return nullptr;
}

void UpdateStationName() {
    const TStation* station = HoveredStation();
    if (station == Named) return;
    TakeLabelAway();
    if (station == nullptr || station->infoText.Title.empty()) return;
    NameLabel = TTextSprite::CreateText(station->infoText.Title);
    Named = station;
    const THotspot& place = *station->target;
    const auto width = static_cast<float>(NameLabel->Width());
    const auto height = static_cast<float>(NameLabel->Height());
    const float x = std::clamp(place.X + static_cast<float>(place.Width) * 0.5f - width * 0.5f, Gap,
                               std::max(Gap, static_cast<float>(GameCanvas->w) - width - Gap));
    float y = place.Y - height - Gap;
    if (y < TopClear) y = place.Y + static_cast<float>(place.Height) + Gap;
    NameLabel->SetPosition(std::round(x), std::round(y));
}
