// Tags defined twice: lookups find the entry loaded first, so the later one is never used.
// Entries without a tag at all are named "NULL" by the loaders.
#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "rules/Station.hpp"
#include "shell/Level.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentRun.hpp"

#include <map>
#include <memory>

namespace {

template <typename TEntry, typename TKey>
void CheckKind(const TContentRun& run, TCheckReport& report, const std::vector<std::unique_ptr<TEntry>>& list,
               const std::string& kind, const std::string& key, TKey keyOf) {
    std::map<std::string, std::string> first;
    for (const auto& entry : list) {
        const std::string file = run.FileOf(entry.get());
        const std::string tag = keyOf(*entry);
        if (tag == "NULL") {
            report.Add(file, "no " + key + " line");
            continue;
        }
        const auto [at, fresh] = first.emplace(tag, file);
        if (!fresh) {
            report.Add(file, kind + " " + Quoted(tag) + " is already defined by " + at->second +
                                 ", which every lookup finds first");
        }
    }
}

} // namespace

void CheckDuplicateTags(const TContentRun& run, TCheckReport& report) {
    CheckKind(run, report, ItemList, "item tag", "TAG=", [](const TItem& e) { return e.tag; });
    CheckKind(run, report, ActionList, "action tag", "TAG=", [](const TAction& e) { return e.tag; });
    CheckKind(run, report, StationList, "station tag", "TAG=", [](const TStation& e) { return e.tag; });
    CheckKind(run, report, LevelRegistry, "level name", "NAME=", [](const TLevel& e) { return e.Name; });
}
