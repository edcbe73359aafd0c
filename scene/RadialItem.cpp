#include "scene/RadialItem.hpp"

#include "scene/Layer.hpp"

#include <iterator>

namespace {

TSpriteRef ActionButton() {
    return TSprite::LoadAnim("media/RadActions.png", 40, 40, 0, 9, -1);
}

} // namespace

TRadialItemRef TRadialItem::CreateNamed(const std::string& name, std::any owner, int withLabel) {
    TLayer::Select("radials");
    auto item = std::make_shared<TRadialItem>();
    item->Hotspot = THotspot::CreateForSprite(ActionButton(), "RADITEM_" + name, "_RADIAL");
    item->Hotspot->Owner = std::move(owner);
    item->Hotspot->SetStateFrames(1, 1, 0, 0);
    if (withLabel != 0) item->Label = TTextSprite::CreateText(name);
    item->Hide();
    return item;
}

TRadialItemRef TRadialItem::CreateAction(const std::string& actionTag, const std::string& actionName,
                                         std::span<const int> skillBase, std::any owner) {
    TLayer::Select("radials");
    auto item = std::make_shared<TRadialItem>();
    item->Hotspot = THotspot::CreateForSprite(ActionButton(), "RADACTION_" + actionTag, "_RADIAL");
    item->Hotspot->Owner = std::move(owner);
    item->Hotspot->SetStateFrames(1, 1, 0, 0);
    int iconKind = -1;
    for (size_t kind = 0; kind < std::size(SkillIconPaths) && kind < skillBase.size(); ++kind) {
        if (skillBase[kind] > 0) iconKind = static_cast<int>(kind);
    }
    // Loaded after the button, in the same layer, so it is drawn over it.
    if (iconKind >= 0) item->Icon = TSprite::Load(SkillIconPaths[iconKind], -1);
    item->Label = TTextSprite::CreateText(actionName);
    item->Hide();
    return item;
}

TRadialItemRef TRadialItem::CreateItem(const std::string& itemTag, const TImage& itemIcon) {
    TLayer::Select("radials");
    auto item = std::make_shared<TRadialItem>();
    item->Icon = TSprite::FromImage(itemIcon);
    TSpriteRef overlay = TSprite::LoadAnim("media/IconOverlay.png", 50, 50, 0, 6, -1);
    item->Hotspot = THotspot::CreateForSprite(overlay, "RADITEM_ITEM_" + itemTag, "_RADIAL");
    item->Hotspot->SetStateFrames(1, 1, 0, 0);
    item->Hide();
    return item;
}

void TRadialItem::SetPosition(float x, float y) {
    const float left = x - static_cast<float>(Hotspot->Width / 2);
    const float top = y - static_cast<float>(Hotspot->Height / 2);
    Hotspot->SetPosition(left, top);
    if (Icon != nullptr) Icon->SetPosition(left, top);
    if (Label != nullptr) Label->SetPosition(left, top - static_cast<float>(TextHeight() / 2));
}

void TRadialItem::Show() {
    Hotspot->Show();
    if (Icon != nullptr) Icon->Show();
    if (Label != nullptr) Label->Show();
}

void TRadialItem::Hide() {
    Hotspot->Hide();
    if (Icon != nullptr) Icon->Hide();
    if (Label != nullptr) Label->Hide();
}

void TRadialItem::Destroy() {
    Hotspot->Destroy();
    if (Icon != nullptr) Icon->Remove();
    if (Label != nullptr) Label->Remove();
}
