#include "scene/Hotspot.hpp"

#include "scene/FrameRate.hpp"
#include "scene/Numeric.hpp"
#include "scene/Pointer.hpp"
#include "scene/Radial.hpp"

#include <cmath>

namespace {

bool IsReported(const std::string& g) {
    return g == "SQUEEZE" || g == "HOLD" || g == "GRAB" || g == "DROP" || g.rfind("CLICK", 0) == 0;
}

} // namespace

THotspotRef THotspot::Create(const std::string& tag, const std::string& kind) {
    auto hotspot = std::make_shared<THotspot>();
    hotspot->Tag = tag;
    hotspot->Kind = kind;
    hotspot->HotspotEntry = HotspotList.insert(HotspotList.end(), hotspot);
    return hotspot;
}

THotspotRef THotspot::CreateForSprite(const TSpriteRef& sprite, const std::string& tag,
                                      const std::string& kind) {
    THotspotRef hotspot = Create(tag, kind);
    hotspot->Sprite = sprite;
    if (sprite != nullptr) {
        hotspot->X = sprite->X;
        hotspot->Y = sprite->Y;
        hotspot->Width = sprite->FrameWidth;
        hotspot->Height = sprite->FrameHeight;
    }
    return hotspot;
}

THotspotRef THotspot::FindByTag(const std::string& tag) {
    for (const THotspotRef& hotspot : HotspotList) {
        if (hotspot->Tag == tag) return hotspot;
    }
    return nullptr;
}

bool THotspot::IsRadial() const {
    return Kind.size() >= 7 && Kind.compare(Kind.size() - 7, 7, "_RADIAL") == 0;
}

std::string THotspot::PollAll() {
    std::string gesture = "NULL@NULL";
    for (auto it = HotspotList.begin(); it != HotspotList.end();) {
        THotspotRef h = *it++;
        if (h->Inactive != 0) continue;
        if (OpenRadial != nullptr && !h->IsRadial()) {
            // An open ring has the pointer, so nothing under it stays lit from before the ring.
            h->EndHover();
            continue;
        }
        const std::string g = h->Update(PointerButton);
        if ((GrabbedHotspot == nullptr || h->GrabState == GrabHeld) && IsReported(g)) {
            gesture = g + "@" + h->Tag;
            break;
        }
    }
    PointerPolled();
    return gesture;
}

THotspotRef THotspot::Clone(const std::string& tag) {
    auto copy = std::make_shared<THotspot>();
    copy->HotspotEntry = HotspotList.insert(HotspotList.end(), copy);
    if (Sprite != nullptr) copy->Sprite = Sprite->Clone("nullcopy");
    copy->Tag = tag;
    copy->Kind = Kind;
    copy->HoverFrame = HoverFrame;
    copy->HoldFrame = HoldFrame;
    copy->SqueezeFrame = SqueezeFrame;
    copy->HeldFrame = HeldFrame;
    copy->GrabState = GrabState;
    copy->X = X;
    copy->Y = Y;
    copy->Width = Width;
    copy->Height = Height;
    copy->MaxX = MaxX;
    copy->MinX = MinX;
    copy->MaxY = MaxY;
    copy->MinY = MinY;
    copy->LastPointerX = LastPointerX;
    copy->LastPointerY = LastPointerY;
    copy->Leash = Leash;
    copy->AnchorX = AnchorX;
    copy->AnchorY = AnchorY;
    copy->HomeX = HomeX;
    copy->HomeY = HomeY;
    copy->ScaleReturn = ScaleReturn;
    return copy;
}

void THotspot::Destroy() {
    if (Sprite != nullptr) Sprite->Remove();
    // A hotspot that is gone cannot stay held: it would silence every gesture for good.
    if (GrabbedHotspot.get() == this) GrabbedHotspot.reset();
    if (HotspotEntry) {
        HotspotList.erase(*HotspotEntry);
        HotspotEntry.reset();
    }
}

void THotspot::SetPosition(float x, float y) {
    X = x;
    Y = y;
    if (Sprite != nullptr) Sprite->SetPosition(x, y);
}

void THotspot::Move(float dx, float dy) {
    X += dx;
    Y += dy;
    if (Sprite != nullptr) Sprite->Move(dx, dy);
}

void THotspot::Grab() {
    if (GrabbedHotspot != nullptr) GrabbedHotspot->Release();
    GrabbedHotspot = shared_from_this();
    GrabState = GrabHeld;
    LastPointerX = PointerX;
    LastPointerY = PointerY;
}

void THotspot::Release() {
    GrabbedHotspot.reset();
    GrabState = GrabFree;
    LastPointerX = -1000;
    LastPointerY = -1000;
}

void THotspot::Hide() {
    Inactive = 1;
    if (Sprite != nullptr) Sprite->Hide();
}

void THotspot::Show() {
    Inactive = 0;
    if (Sprite != nullptr) Sprite->Show();
}

void THotspot::SyncWithSprite() {
    if (Sprite != nullptr && Sprite->Hidden == 0) Inactive = 0;
}

void THotspot::SetStateFrames(int hover, int hold, int squeeze, int held) {
    NormalFrame = 0;
    // The strip holds the rest frame, then one frame per enabled state in this order.
    int next = 1;
    if (hover != 0) HoverBase = next++;
    if (hold != 0) HoldBase = next++;
    if (squeeze != 0) SqueezeBase = next++;
    if (held != 0) HeldBase = next++;
    HoverFrame = HoverBase;
    HoldFrame = HoldBase;
    SqueezeFrame = SqueezeBase;
    HeldFrame = HeldBase;
}

void THotspot::SetVariant(int v) {
    if (Sprite == nullptr) return;
    const int first = FramesPerVariant * v;
    if (v >= 0 && Sprite->FrameCount > first + 2) {
        NormalFrame = first;
        if (HoverBase > 0) HoverFrame = HoverBase + first;
        if (HoldBase > 0) HoldFrame = HoldBase + first;
        if (SqueezeBase > 0) SqueezeFrame = SqueezeBase + first;
        if (HeldBase > 0) HeldFrame = HeldBase + first;
    }
    Sprite->Frame = NormalFrame;
}

void THotspot::MakeSlider(int y, int minX, int maxX) {
    SetPosition(static_cast<float>(minX), static_cast<float>(y));
    PickMode = "DRAG";
    MinX = minX;
    MaxX = maxX;
    MinY = y;
    MaxY = y + 1;
    GrabState = GrabFree;
}

void THotspot::SetFrame(int frame) {
    if (Sprite != nullptr) Sprite->Frame = frame;
}

bool THotspot::PointerInside() const {
    const int ix = TruncInt(X);
    const int iy = TruncInt(Y);
    return PointerOnCanvas && ix <= PointerX && PointerX <= ix + Width && iy <= PointerY &&
           PointerY <= iy + Height && Inactive == 0;
}

void THotspot::EndHover() {
    if (HoverFrame > 0 && Sprite != nullptr && Sprite->Frame == HoverFrame) SetFrame(NormalFrame);
}

bool THotspot::Over() {
    const bool over = PointerInside();
    if (over) {
        if (HoverFrame > 0 && Squeezed == 0 && LastButton == 0) SetFrame(HoverFrame);
    } else if (HoverFrame > 0) {
        SetFrame(NormalFrame);
    }
    return over;
}

bool THotspot::Hold(int button) {
    if (!(button > 0 && Over())) return false;
    if (HoldFrame > 0 && Squeezed == 0 && GrabbedHotspot == nullptr) SetFrame(HoldFrame);
    return true;
}

bool THotspot::Squeeze(int button) {
    if (!(button == LastButton && Milliseconds() - ChangeTime > SqueezeMs && button > 0 && Squeezed == 0 &&
          Over() && GrabbedHotspot == nullptr)) {
        return false;
    }
    Squeezed = 1;
    if (SqueezeFrame > 0) SetFrame(SqueezeFrame);
    return true;
}

int THotspot::ClickButton(int button) {
    if (LastButton > 0 && button == 0 && Over()) return LastButton;
    return 0;
}

void THotspot::ReturnStep(int cx, int cy, float d, float& dx, float& dy) const {
    const float f = ScaleReturn != 0 ? 7.0f * d / 800.0f + 1.0f : 1.0f;
    // The slope is taken from the corner, not the centre, which is what slows the last few pixels.
    float r = std::fabs((static_cast<float>(HomeX) - X) / (static_cast<float>(HomeY) - Y));
    if (!(r <= 1.0f)) r = 1.0f;
    if (!(r > 0.25f)) r = 0.25f;
    const float b = ReturnSpeed / static_cast<float>(FrameRate);
    const float sx = b * r * f;
    const float sy = b / r * f;
    const float homeX = static_cast<float>(HomeX);
    const float homeY = static_cast<float>(HomeY);
    if (static_cast<float>(cx) > homeX + sx) {
        dx -= sx;
    } else if (static_cast<float>(cx) < homeX - sx) {
        dx += sx;
    } else {
        dx += homeX - static_cast<float>(cx);
    }
    if (static_cast<float>(cy) > homeY + sy) {
        dy -= sy;
    } else if (static_cast<float>(cy) < homeY - sy) {
        dy += sy;
    } else {
        dy += homeY - static_cast<float>(cy);
    }
}

std::string THotspot::Update(int button) {
    std::string g = "NULL";
    if (Over()) g = "HOVER";
    if (Hold(button)) g = "HOLD";
    if (Squeeze(button)) {
        g = "SQUEEZE";
        if (GrabState == GrabHeld) Release();
    }

    const int n = ClickButton(button);
    if (n > 0) g = "CLICK" + std::to_string(n);

    if (n == 1 && OpenRadial == nullptr && PickMode == "PICKUP") {
        if (GrabState == GrabFree && GrabbedHotspot == nullptr && Squeezed == 0) {
            Grab();
            g = "GRAB";
        } else if (GrabState == GrabHeld) {
            Release();
            g = "DROP";
        }
    }

    if (PickMode == "DRAG" && GrabState >= GrabFree) {
        if (g == "HOLD") Grab();
        if (PointerButton == 0) Release();
    }

    const int cx = TruncInt(X + static_cast<float>(Width / 2));
    const int cy = TruncInt(Y + static_cast<float>(Height / 2));
    const float ax = static_cast<float>(cx - AnchorX);
    const float ay = static_cast<float>(cy - AnchorY);
    const float d = std::sqrt(ax * ax + ay * ay);
    float dx = 0.0f;
    float dy = 0.0f;

    if (d > static_cast<float>(Leash) && Leash > 0 && LastPointerX + LastPointerY != -2000) {
        // Carried past the leash: put the centre back on the circle and let go.
        const float leash = static_cast<float>(Leash);
        const int nx = TruncInt(static_cast<float>(AnchorX) + ax * leash / d);
        const int ny = TruncInt(static_cast<float>(AnchorY) + ay * leash / d);
        SetPosition(static_cast<float>(nx - Width / 2), static_cast<float>(ny - Height / 2));
        Release();
    } else {
        if (LastPointerX != -1000 && LastPointerX != PointerX) {
            dx = static_cast<float>(PointerX - LastPointerX);
            LastPointerX = PointerX;
        }
        if (LastPointerY != -1000 && LastPointerY != PointerY) {
            dy = static_cast<float>(PointerY - LastPointerY);
            LastPointerY = PointerY;
        }
    }

    if (GrabState == GrabHeld) SetFrame(HeldFrame > 0 ? HeldFrame : NormalFrame);

    if (GrabState == GrabFree &&
        ((std::abs(cx - HomeX) > 5 && HomeX > -1) || (std::abs(cy - HomeY) > 5 && HomeY > -1))) {
        ReturnStep(cx, cy, d, dx, dy);
    }

    Move(dx, dy);

    if (GrabState == GrabHeld) {
        if (X > static_cast<float>(MaxX)) SetPosition(static_cast<float>(MaxX), Y);
        if (X < static_cast<float>(MinX)) SetPosition(static_cast<float>(MinX), Y);
        if (Y > static_cast<float>(MaxY)) SetPosition(X, static_cast<float>(MaxY));
        if (Y < static_cast<float>(MinY)) SetPosition(X, static_cast<float>(MinY));
    }

    if (GrabState == GrabHeld || GrabbedHotspot == nullptr) {
        if (LastButton != button) {
            ChangeTime = Milliseconds();
            Squeezed = 0;
        }
        if (g != "NULL") LastButton = button;
    }

    if (GrabbedHotspot != nullptr) g = "NULL";
    return g;
}
