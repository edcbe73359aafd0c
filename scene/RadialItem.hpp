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
    // An action's entry, tag "RADACTION_" + the action's tag, showing the icon of the highest skill kind
    // whose base gain is above 0; the owner is the action itself.
    static TRadialItemRef CreateAction(const std::string& actionTag, const std::string& actionName,
                                       std::span<const int> skillBase, std::any owner);
    // An item choice, tag "RADITEM_ITEM_" + the item's tag, its icon under an overlay button.
    static TRadialItemRef CreateItem(const std::string& itemTag, const TImage& itemIcon);

    // Centres the button on (x, y); the caption's middle sits on the button's top edge.
    void SetPosition(float x, float y);
    void Show();
    void Hide();
    void Destroy();
};

// Skill icon files by skill kind.
inline constexpr const char* SkillIconPaths[] = {"media/FitnessIcon.png", "media/MentalIcon.png",
                                                 "media/SocialIcon.png", "media/WealthIcon.png",
                                                 "media/LeadershipIcon.png"};
