// Items: a known type, the actions a job or an asset runs, and an icon file that is really there.
#include "platform/Platform.hpp"
#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentLines.hpp"
#include "tools/check/ContentRun.hpp"

namespace {

bool NamesAction(const std::string& tag) {
    return TAction::FindByTag(tag) != nullptr;
}

void CheckActionTags(const TItem& item, const std::string& file, TCheckReport& report) {
    if (item.itemType == "JOB" && item.actionTag.empty())
        report.Add(file, "job without a work action: no LockAction line");
    if (item.itemType == "ASSET" && item.actionTag.empty())
        report.Add(file, "asset without a weekly action: no AutoAction line");
    if (!item.actionTag.empty() && !NamesAction(item.actionTag)) {
        const std::string effect = item.itemType == "JOB"     ? ": the job has no work to do"
                                   : item.itemType == "ASSET" ? ": the asset does nothing"
                                                              : "";
        // Read only here: the file is opened again for it, and a folder may hold a great many items.
        const std::string key = FirstFields(file, "AutoAction").empty() ? "LockAction" : "AutoAction";
        report.Add(file, key + " names " + Quoted(item.actionTag) + ", which is no action" + effect);
    }
    if (item.itemType == "JOB" && !item.actionTag.empty() && !NamesAction(item.quitActionTag))
        report.Add(file, "LockAction names " + Quoted(item.quitActionTag) +
                             " as the quit action, which is no action");
}

} // namespace

void CheckItems(const TContentRun& run, TCheckReport& report) {
    for (const auto& item : ItemList) {
        const std::string file = run.FileOf(item.get());
        const std::string& type = item->itemType;
        if (type.empty()) {
            report.Add(file, "no SetItemType line: the item is held as a plain object");
        } else if (type != "JOB" && type != "ASSET" && type != "NOMINAL" && type != "BUILD") {
            report.Add(file, "item type " + Quoted(type) + " is none of JOB, ASSET, NOMINAL and BUILD");
        }
        if (type == "BUILD" && item->tag != "home_manor" && item->tag != "home_castle")
            report.Add(file,
                       "a BUILD item upgrades the home only as \"home_manor\" or \"home_castle\", not as " +
                           Quoted(item->tag));
        CheckActionTags(*item, file, report);
        // The loader reads the first SetIcon line only.
        const std::vector<std::string> icons = FirstFields(file, "SetIcon");
        if (!icons.empty() && FileKind(icons.front()) != 1)
            report.Add(file, "SetIcon names " + Quoted(icons.front()) +
                                 ", which is not a file: the default icon is shown");
    }
}
