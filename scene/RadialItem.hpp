#pragma once
// One button of a radial menu: a hotspot over a button sprite, with an optional icon over it and a caption.
// Owned by the slot of its TRadial; created hidden, shown and hidden by the menu's Open and Close.
// Missing button art leaves a 0 x 0 hotspot that can never be hit; nothing else can fail.

#include "scene/Hotspot.hpp"
#include "scene/TextSprite.hpp"

#include <any>
#include <memory>
#include <span>
#include <string>

class TRadialItem;

using TRadialItemRef = std::shared_ptr<TRadialItem>;

class TRadialItem {
  public:
    THotspotRef Hotspot;
    TSpriteRef Icon;
    TTextSpriteRef Label;
    std::string Value;

    // Tag "RADITEM_" + name.
    static TRadialItemRef CreateNamed(const std::string& name, std::any owner, int withLabel);
    // An action's entry, tag "RADACTION_" + the action's tag, showing the icon of the item it gives made
    // small, or without one the icon of the highest skill kind whose base gain is above 0; the owner is
    // the action itself.
    static TRadialItemRef CreateAction(const std::string& actionTag, const std::string& actionName,
                                       std::span<const int> skillBase, std::any owner,
                                       const TImage& itemIcon = nullptr);
    // An item choice, tag "RADITEM_ITEM_" + the item's tag, its icon under an overlay button, and the
    // item's name, on two lines when long, outside the ring.
    static TRadialItemRef CreateItem(const std::string& itemTag, const TImage& itemIcon,
                                     const std::string& itemName = "");

    // Centres the button on (x, y) and the icon on the button; the caption's middle sits on the button's
    // top edge, unless LabelOutside leaves the caption to PlaceLabelAwayFrom.
    void SetPosition(float x, float y);
    // Puts the caption just clear of the button, on the far side from the ring's centre (cx, cy), where a
    // ring of item choices has room for names between its neighbours.
    void PlaceLabelAwayFrom(float cx, float cy);
    bool LabelOutside = false;
    void Show();
    void Hide();
    void Destroy();
};

// Skill icon files by skill kind.
inline constexpr const char* SkillIconPaths[] = {"media/FitnessIcon.png", "media/MentalIcon.png",
                                                 "media/SocialIcon.png", "media/WealthIcon.png",
                                                 "media/LeadershipIcon.png"};
