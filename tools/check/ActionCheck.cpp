// Actions: every item tag a GiveItem, TakeItem or RequireItem line names must be an item, or the line
// silently gives, takes or requires nothing.
#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

namespace {

template <typename TTags>
void CheckTags(const TTags& tags, const std::string& key, const std::string& file, TCheckReport& report) {
    for (const std::string& tag : tags) {
        if (tag.empty() || tag == "NULL" || TItem::FindByTag(tag) != nullptr) continue;
        report.Add(file, key + " names " + Quoted(tag) + ", which is no item");
    }
}

} // namespace

void CheckActions(const TContentRun& run, TCheckReport& report) {
    for (const auto& action : ActionList) {
        const std::string file = run.FileOf(action.get());
        CheckTags(action->giveItems, "GiveItem", file, report);
        CheckTags(action->takeItems, "TakeItem", file, report);
        CheckTags(action->requiredItems, "RequireItem", file, report);
    }
}
