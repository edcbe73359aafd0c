#include "scene/RadialItem.hpp"

#include "scene/Layer.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// An item's 50-pixel icon on a 40-pixel action button, with a margin.
constexpr float ItemIconOnButton = 0.6f;
// Between an item choice and its name's back.
constexpr float LabelGap = 4.0f;
// Names wider than this go on two lines, split at the space nearest their middle.
constexpr int WidestNameLine = 72;

std::string TwoLinesIfLong(const std::string& name) {
    if (TextWidth(name) <= WidestNameLine) return name;
    size_t best = std::string::npos;
    for (size_t at = name.find(' '); at != std::string::npos; at = name.find(' ', at + 1)) {
        const auto off = [&](size_t space) {
            return std::abs(static_cast<int>(2 * space) - static_cast<int>(name.size()));
        };
        if (best == std::string::npos || off(at) < off(best)) best = at;
    }
    if (best == std::string::npos) return name;
    return name.substr(0, best) + "\n" + name.substr(best + 1);
}

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
                                         std::span<const int> skillBase, std::any owner,
                                         const TImage& itemIcon) {
    TLayer::Select("radials");
    auto item = std::make_shared<TRadialItem>();
    item->Hotspot = THotspot::CreateForSprite(ActionButton(), "RADACTION_" + actionTag, "_RADIAL");
    item->Hotspot->Owner = std::move(owner);
    item->Hotspot->SetStateFrames(1, 1, 0, 0);
    int iconKind = -1;
    for (size_t kind = 0; kind < std::size(SkillIconPaths) && kind < skillBase.size(); ++kind) {
        if (skillBase[kind] > 0) iconKind = static_cast<int>(kind);
    }
    // Made after the button, in the same layer, so it is drawn over it.
    if (itemIcon != nullptr) {
        item->Icon = TSprite::FromImage(itemIcon);
        item->Icon->Scale = ItemIconOnButton;
    } else if (iconKind >= 0) {
        item->Icon = TSprite::Load(SkillIconPaths[iconKind], -1);
    }
    item->Label = TTextSprite::CreateText(actionName);
    item->Hide();
    return item;
}

TRadialItemRef TRadialItem::CreateItem(const std::string& itemTag, const TImage& itemIcon,
                                       const std::string& itemName) {
    TLayer::Select("radials");
    auto item = std::make_shared<TRadialItem>();
    item->Icon = TSprite::FromImage(itemIcon);
    TSpriteRef overlay = TSprite::LoadAnim("media/IconOverlay.png", 50, 50, 0, 6, -1);
    item->Hotspot = THotspot::CreateForSprite(overlay, "RADITEM_ITEM_" + itemTag, "_RADIAL");
    item->Hotspot->SetStateFrames(1, 1, 0, 0);
    if (!itemName.empty()) {
        item->Label = TTextSprite::CreateText(TwoLinesIfLong(itemName));
        item->LabelOutside = true;
    }
    item->Hide();
    return item;
}

void TRadialItem::SetPosition(float x, float y) {
    const float left = x - static_cast<float>(Hotspot->Width / 2);
    const float top = y - static_cast<float>(Hotspot->Height / 2);
    Hotspot->SetPosition(left, top);
    if (Icon != nullptr)
        Icon->PlaceOver(left, top, static_cast<float>(Hotspot->Width), static_cast<float>(Hotspot->Height));
    if (Label != nullptr && !LabelOutside)
        Label->SetPosition(left, top - static_cast<float>(TextHeight() / 2));
}

void TRadialItem::PlaceLabelAwayFrom(float cx, float cy) {
    if (Label == nullptr) return;
    const float x = Hotspot->X + static_cast<float>(Hotspot->Width) * 0.5f;
    const float y = Hotspot->Y + static_cast<float>(Hotspot->Height) * 0.5f;
    float dx = x - cx, dy = y - cy;
    const float d = std::sqrt(dx * dx + dy * dy);
    if (d > 0.0f) {
        dx /= d;
        dy /= d;
    } else {
        dy = 1.0f;
    }
    // The caption's box with its back, and the button's with a gap: slid outward until they part.
    const float halfW = static_cast<float>(Label->Width() + 10) * 0.5f;
    const float halfH = static_cast<float>(Label->Height() + 5) * 0.5f;
    const float clearW = static_cast<float>(Hotspot->Width) * 0.5f + LabelGap + halfW;
    const float clearH = static_cast<float>(Hotspot->Height) * 0.5f + LabelGap + halfH;
    const float along = std::min(std::abs(dx) > 0.0f ? clearW / std::abs(dx) : clearH / std::abs(dy),
                                 std::abs(dy) > 0.0f ? clearH / std::abs(dy) : clearW / std::abs(dx));
    const float labelX = x + dx * along, labelY = y + dy * along;
    Label->SetPosition(std::round(labelX - halfW + 5.0f), std::round(labelY - halfH + 2.0f));
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
