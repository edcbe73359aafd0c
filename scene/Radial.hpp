#pragma once
// A ring of item buttons around a point, laid out over the part of the circle that stays inside the safe box
// 50 < x < 750, 50 < y < 550, with close and help buttons at its centre. Live in RadialList.
// At most one is open (OpenRadial); while it is, only radial hotspots take part in the gesture poll.

#include "scene/Hotspot.hpp"
#include "scene/RadialItem.hpp"

#include <any>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TRadial;

using TRadialRef = std::shared_ptr<TRadial>;
using TRadialList = std::list<TRadialRef>;

class TRadial : public std::enable_shared_from_this<TRadial> {
  public:
    std::optional<TRadialList::iterator> RadialEntry;
    std::vector<TRadialItemRef> Items; // a slot may stay empty (none)
    std::vector<float> Angles;
    int SlotCount = 0;
    float CentreX = 0.0f;
    float CentreY = 0.0f;
    float Radius = 0.0f;
    int HasHelp = 1;
    int HasClose = 1;
    THotspotRef HelpButton;
    THotspotRef CloseButton;
    int ItemCount = 0;
    THotspotRef OwnerHotspot;
    std::string MenuKind;
    std::any OwnerObject;

    static TRadialRef Create();
    // Called with each polled gesture: 1 when an open menu swallowed a gesture meant for the world.
    static int HandleWorldGesture(const std::string& gesture, const THotspotRef& hotspot);

    // Lays the ring out around (x, y); with fresh != 0 also new slots and centre buttons.
    void Setup(int x, int y, int slots, int fresh);
    // Into the next slot; beyond the last slot the item is not taken.
    void AddItem(const TRadialItemRef& item);
    void MoveTo(int x, int y);
    void ArrangeLabels();
    void Open();
    void Close(int restoreOwner);
    void Destroy();

  private:
    void PlaceSlot(int slot);
};

// Lives for the whole run and is never destroyed: sprites and their layers refer to each other.
inline TRadialList& RadialList = *new TRadialList;
inline TRadialRef OpenRadial;

inline constexpr float SafeLeft = 50.0f;
inline constexpr float SafeRight = 750.0f;
inline constexpr float SafeTop = 50.0f;
inline constexpr float SafeBottom = 550.0f;
