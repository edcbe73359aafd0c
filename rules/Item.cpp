#include "rules/Item.hpp"

#include "rules/Action.hpp"
#include "rules/ContentFile.hpp"
#include "rules/TagIndex.hpp"

std::vector<std::unique_ptr<TItem>> ItemList;

namespace {
size_t ItemsCreated = 0;
} // namespace

TItem* TItem::Create() {
    ++ItemsCreated;
    ItemList.push_back(std::make_unique<TItem>());
    return ItemList.back().get();
}

TItem* TItem::Load(const std::string& path) {
    TItem* item = Create();
    TContentFile file = TContentFile::Open(path);
    item->name = TContentFile::QuotedArg(file.FindSingle("NAME="), 0);
    item->tag = TContentFile::QuotedArg(file.FindSingle("TAG="), 0);

    const std::string icon = file.FindSingle("SetIcon");
    const std::string iconPath = TContentFile::QuotedArg(icon, 0);
    if (icon != "NULL" && FileKind(iconPath) == 1) item->icon = LoadImage(iconPath, 0);
    // A file that is there but holds no picture falls back like a missing one.
    if (item->icon == nullptr) item->icon = LoadImage(DefaultIconPath, 0);

    const std::string type = file.FindSingle("SetItemType");
    if (type != "NULL") item->itemType = TContentFile::QuotedArg(type, 0);
    const std::string lock = file.FindSingle("LockAction");
    if (lock != "NULL") {
        item->actionTag = TContentFile::QuotedArg(lock, 0);
        item->quitActionTag = TContentFile::QuotedArg(lock, 1);
    }
    const std::string autoAction = file.FindSingle("AutoAction");
    if (autoAction != "NULL") item->actionTag = TContentFile::QuotedArg(autoAction, 0);
    const std::string cap = file.FindSingle("SetWealthCap");
    if (cap != "NULL") item->wealthCap = TContentFile::ToInt(TContentFile::QuotedArg(cap, 0));
    file.Close();
    return item;
}

int TItem::LoadAll() {
    return TContentFile::LoadDirectory("content/items", [](const std::string& path) { Load(path); });
}

TItem* TItem::FindByTag(const std::string& tag) {
    static TTagIndex<TItem, &TItem::tag> index;
    return index.Find(ItemList, ItemsCreated, tag);
}

std::string TItem::NameOfTag(const std::string& tag) {
    const TItem* item = FindByTag(tag);
    return item != nullptr ? item->name : "";
}

TAction* TItem::FindGivingAction() const {
    for (const auto& action : ActionList) {
        if (action->GivesTag(tag)) return action.get();
    }
    return nullptr;
}
