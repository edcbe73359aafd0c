#include "scene/Radial.hpp"

#include "scene/Numeric.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr float DegreesPerRadian = 180.0f / std::numbers::pi_v<float>;

float Cos(float degrees) {
    return std::cos(degrees / DegreesPerRadian);
}
float Sin(float degrees) {
    return std::sin(degrees / DegreesPerRadian);
}

bool InsideSafeBox(float x, float y) {
    return SafeLeft < x && x < SafeRight && SafeTop < y && y < SafeBottom;
}

// Where the ring crosses a vertical line: c is the cosine of the crossing angle.
void AddCosineCrossings(float c, std::vector<float>& angles) {
    const float a1 = std::acos(std::clamp(c, -1.0f, 1.0f)) * DegreesPerRadian;
    angles.push_back(WrapAngle(a1));
    if (-1.0f < c && c < 1.0f) angles.push_back(WrapAngle(360.0f - a1));
}

// Where the ring crosses a horizontal line: c is the sine of the crossing angle.
void AddSineCrossings(float c, std::vector<float>& angles) {
    const float a1 = std::asin(std::clamp(c, -1.0f, 1.0f)) * DegreesPerRadian;
    angles.push_back(WrapAngle(a1));
    if (-1.0f < c && c < 1.0f) angles.push_back(WrapAngle(180.0f - a1));
}

THotspotRef CentreButton(const std::string& path, const std::string& tag) {
    TSpriteRef sprite = TSprite::LoadAnim(path, 25, 25, 0, 3, -1);
    THotspotRef button = THotspot::CreateForSprite(sprite, tag, "_RADIAL");
    button->SetStateFrames(1, 1, 0, 0);
    return button;
}

} // namespace

TRadialRef TRadial::Create() {
    auto radial = std::make_shared<TRadial>();
    radial->RadialEntry = RadialList.insert(RadialList.end(), radial);
    return radial;
}

void TRadial::Setup(int x, int y, int slots, int fresh) {
    slots = std::max(slots, 0);
    if (fresh != 0) Items.assign(static_cast<size_t>(slots), nullptr);
    Items.resize(static_cast<size_t>(slots));
    Angles.assign(static_cast<size_t>(slots), 0.0f);
    SlotCount = slots;
    CentreX = static_cast<float>(x);
    CentreY = static_cast<float>(y);

    if (fresh != 0) {
        if (HasClose != 0) CloseButton = CentreButton("media/CloseButton.png", "RADIALCLOSE");
        if (HasHelp != 0) HelpButton = CentreButton("media/HelpButton.png", "RADIALHELP");
    }
    if (CloseButton != nullptr) {
        CloseButton->SetPosition(static_cast<float>(x + 3), static_cast<float>(y));
        CloseButton->Hide();
    }
    if (HelpButton != nullptr) {
        HelpButton->SetPosition(static_cast<float>(x - 28), static_cast<float>(y));
        HelpButton->Hide();
    }

    const float fx = CentreX;
    const float fy = CentreY;
    const float r = Radius;
    std::vector<float> crossings;
    if (r > 0.0f) {
        if (fx + r >= SafeRight) AddCosineCrossings((SafeRight - fx) / r, crossings);
        if (fx - r <= SafeLeft) AddCosineCrossings((SafeLeft - fx) / r, crossings);
        if (fy + r >= SafeBottom) AddSineCrossings((fy - SafeBottom) / r, crossings);
        if (fy - r <= SafeTop) AddSineCrossings((fy - SafeTop) / r, crossings);
    }
    std::sort(crossings.begin(), crossings.end());

    float bestStart = 0.0f;
    float bestEnd = 0.0f;
    float bestSweep = 0.0f;
    const size_t n = crossings.size();
    for (size_t i = 0; i < n; ++i) {
        const float start = crossings[i];
        const float end = crossings[(i + 1) % n];
        const float sweep = AngleSpan(start, end);
        if (sweep <= bestSweep) continue;
        const float mid = AngleMid(start, end);
        if (!InsideSafeBox(fx + r * Cos(mid), fy - r * Sin(mid))) continue;
        bestStart = start;
        bestEnd = end;
        bestSweep = sweep;
    }

    const int k = std::max(slots - 1, 1);
    const float step = AngleSpan(bestStart, bestEnd) / static_cast<float>(k);
    float angle = bestStart + step / 2.0f;
    for (int i = 0; i < slots; ++i) {
        Angles[static_cast<size_t>(i)] = WrapAngle(angle);
        angle = Angles[static_cast<size_t>(i)] + step;
    }
}

void TRadial::PlaceSlot(int slot) {
    const TRadialItemRef& item = Items[static_cast<size_t>(slot)];
    if (item == nullptr) return;
    const float a = Angles[static_cast<size_t>(slot)];
    item->SetPosition(CentreX + Cos(a) * Radius, CentreY - Sin(a) * Radius);
    if (item->LabelOutside) item->PlaceLabelAwayFrom(CentreX, CentreY);
}

void TRadial::AddItem(const TRadialItemRef& item) {
    if (item == nullptr || ItemCount >= SlotCount) return;
    Items[static_cast<size_t>(ItemCount)] = item;
    PlaceSlot(ItemCount);
    ++ItemCount;
}

void TRadial::MoveTo(int x, int y) {
    Setup(x, y, SlotCount, 0);
    for (int slot = 0; slot < SlotCount; ++slot)
        PlaceSlot(slot);
    ArrangeLabels();
}

void TRadial::ArrangeLabels() {
    for (int i = 0; i < ItemCount && i < SlotCount; ++i) {
        const TRadialItemRef& item = Items[static_cast<size_t>(i)];
        if (item == nullptr || item->Label == nullptr) continue;
        const TTextSpriteRef& label = item->Label;
        const int width = TextWidth(label->Text);
        const int e = TruncInt(label->X + static_cast<float>(width));
        if (e >= 800) label->SetPosition(static_cast<float>(800 - width), label->Y);

        if (i + 1 >= SlotCount || Items[static_cast<size_t>(i + 1)] == nullptr) continue;
        const int t = TextHeight();
        const THotspotRef& hi = item->Hotspot;
        const THotspotRef& hj = Items[static_cast<size_t>(i + 1)]->Hotspot;
        // A caption that would run over the next button moves just above or below it.
        if (static_cast<float>(e) > hj->X && std::fabs(hi->Y - hj->Y) < static_cast<float>(t)) {
            const float y =
                hi->Y < hj->Y ? hj->Y - static_cast<float>(t) : hj->Y + static_cast<float>(hj->Height);
            label->SetPosition(label->X, static_cast<float>(TruncInt(y)));
        }
    }
}

void TRadial::Open() {
    if (OpenRadial != nullptr) OpenRadial->Close(1);
    OpenRadial = shared_from_this();
    for (const TRadialItemRef& item : Items) {
        if (item != nullptr) item->Show();
    }
    if (HelpButton != nullptr) HelpButton->Show();
    if (CloseButton != nullptr) CloseButton->Show();
}

void TRadial::Close(int restoreOwner) {
    for (const TRadialItemRef& item : Items) {
        if (item != nullptr) item->Hide();
    }
    if (HelpButton != nullptr) HelpButton->Hide();
    if (CloseButton != nullptr) CloseButton->Hide();
    if (restoreOwner != 0 && OwnerHotspot != nullptr) OwnerHotspot->SyncWithSprite();
    if (OpenRadial.get() == this) OpenRadial.reset();
}

void TRadial::Destroy() {
    Close(1);
    for (const TRadialItemRef& item : Items) {
        if (item != nullptr) item->Destroy();
    }
    // The centre buttons go too, or every rebuilt menu would leave two dead hotspots behind.
    if (HelpButton != nullptr) HelpButton->Destroy();
    if (CloseButton != nullptr) CloseButton->Destroy();
    if (RadialEntry) {
        RadialList.erase(*RadialEntry);
        RadialEntry.reset();
    }
    if (OpenRadial.get() == this) OpenRadial.reset();
}

int TRadial::HandleWorldGesture(const std::string& gesture, const THotspotRef& hotspot) {
    if (OpenRadial == nullptr || hotspot == nullptr || hotspot->IsRadial()) return 0;
    if (gesture != "HOLD") OpenRadial->Close(1);
    return 1;
}
