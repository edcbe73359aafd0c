#pragma once
// A hit rectangle bound to a sprite that turns the pointer into gestures: hover, hold, squeeze, clicks,
// pick-up and drop, drag; free ones glide home and held ones stay on their leash. Live in HotspotList.
// PollAll reports at most one gesture per tick as "GESTURE@TAG", or "NULL@NULL"; nothing here fails.

#include "scene/Sprite.hpp"

#include <any>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>

class THotspot;

using THotspotRef = std::shared_ptr<THotspot>;
using THotspotList = std::list<THotspotRef>;

enum TGrabState : int { GrabFixed = -1, GrabFree = 0, GrabHeld = 1 };

inline constexpr uint32_t SqueezeMs = 3000;
inline constexpr float ReturnSpeed = 80.0f; // pixels per second of the glide home
inline constexpr int FramesPerVariant = 3;

class THotspot : public std::enable_shared_from_this<THotspot> {
  public:
    std::optional<THotspotList::iterator> HotspotEntry;
    float X = 0.0f;
    float Y = 0.0f;
    int Width = 0;
    int Height = 0;
    std::string Tag;
    std::string Kind;
    int LastButton = 0;
    uint32_t ChangeTime = 0;
    int Inactive = 0;
    int Squeezed = 0;
    TSpriteRef Sprite;
    std::any Owner;
    int GrabState = GrabFixed;
    int MaxX = 800;
    int MinX = 0;
    int MaxY = 600;
    int MinY = 0;
    int AnchorX = 0;
    int AnchorY = 0;
    int HomeX = -1;
    int HomeY = -1;
    int Leash = -1;
    int LastPointerX = -1000;
    int LastPointerY = -1000;
    int ScaleReturn = 1;
    std::string PickMode = "PICKUP";
    int NormalFrame = 0;
    int HoverBase = -1;
    int HoldBase = -1;
    int SqueezeBase = -1;
    int HeldBase = -1;
    int HoverFrame = -1;
    int HoldFrame = -1;
    int SqueezeFrame = -1;
    int HeldFrame = -1;

    static THotspotRef Create(const std::string& tag, const std::string& kind);
    static THotspotRef CreateForSprite(const TSpriteRef& sprite, const std::string& tag,
                                       const std::string& kind);
    static THotspotRef FindByTag(const std::string& tag);
    // One tick of the whole list: the first reportable gesture, or "NULL@NULL".
    static std::string PollAll();

    THotspotRef Clone(const std::string& tag);
    void Destroy();
    void SetPosition(float x, float y);
    void Move(float dx, float dy);
    void Grab();
    void Release();
    void Hide();
    void Disable() { Inactive = 1; }
    void Show();
    void SyncWithSprite();
    void SetStateFrames(int hover, int hold, int squeeze, int held);
    void SetVariant(int v);
    void MakeSlider(int y, int minX, int maxX);
    // One tick of this hotspot with the given button: a gesture name or "NULL".
    std::string Update(int button);

    // Kinds ending in "_RADIAL" belong to radial menus, the only hotspots alive while a menu is open.
    bool IsRadial() const;
    // The pointer is on the canvas inside this active hotspot; unlike a tick, it changes no frame.
    bool PointerInside() const;

  private:
    void EndHover();
    bool Over();
    bool Hold(int button);
    bool Squeeze(int button);
    int ClickButton(int button);
    void SetFrame(int frame);
    // One tick of the glide home for a centre at (cx, cy) lying d from the anchor.
    void ReturnStep(int cx, int cy, float d, float& dx, float& dy) const;
};

// Lives for the whole run and is never destroyed: sprites and their layers refer to each other.
inline THotspotList& HotspotList = *new THotspotList;
inline THotspotRef GrabbedHotspot;
