#pragma once
// Something the Gorum can hold: a plain object, a job, an asset that acts every week, or a home upgrade.
// ItemList owns every item for the whole run; inventories refer to these same objects.
// Loading never fails: missing keys give "NULL" tag or name, a missing icon the default icon.

#include "platform/Platform.hpp"

#include <memory>
#include <string>
#include <vector>

struct TAction;

// The icon of an item whose own icon file is missing; loaded unmasked, like every item icon.
inline constexpr const char* DefaultIconPath = "media/DefaultIcon.jpg";

struct TItem {
    std::string tag;
    std::string name;
    std::string itemType;
    std::string actionTag;
    std::string quitActionTag;
    int wealthCap = 0;
    TImage icon;

    static TItem* Create();
    static TItem* Load(const std::string& path);
    static int LoadAll();
    static TItem* FindByTag(const std::string& tag);
    static std::string NameOfTag(const std::string& tag);

    // The first action in load order that hands this item out, or none.
    TAction* FindGivingAction() const;
};

// Every item in load order.
extern std::vector<std::unique_ptr<TItem>> ItemList;
