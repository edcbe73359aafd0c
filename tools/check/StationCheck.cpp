// Stations: the actions they list, a tag the click dispatch recognises, and the two home pictures that a
// home upgrade switches to.
#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "rules/Station.hpp"
#include "shell/Level.hpp"
#include "tools/check/CheckReport.hpp"
#include "tools/check/Checks.hpp"
#include "tools/check/ContentLines.hpp"
#include "tools/check/ContentRun.hpp"

namespace {

// The first level that offers an action giving a home upgrade, or none.
const TLevel* LevelWithHomeUpgrade() {
    for (const auto& level : LevelRegistry) {
        for (const std::string& tag : level->ActionTags) {
            const TAction* action = TAction::FindByTag(tag);
            if (action == nullptr) continue;
            for (const std::string& given : action->giveItems) {
                const TItem* item = TItem::FindByTag(given);
                if (item != nullptr && item->itemType == "BUILD" &&
                    (item->tag == "home_manor" || item->tag == "home_castle"))
                    return level.get();
            }
        }
    }
    return nullptr;
}

void CheckHome(const TContentRun& run, TCheckReport& report) {
    const TLevel* upgrading = LevelWithHomeUpgrade();
    if (upgrading == nullptr) return;
    const TStation* home = TStation::FindByTag("station_home");
    if (home == nullptr) {
        report.Add(run.FileOf(upgrading), "offers a home upgrade, but no station is tagged \"station_home\"");
    } else if (home->images[1] == nullptr || home->images[2] == nullptr) {
        report.Add(run.FileOf(home),
                   "\"station_home\" needs two SetAlternate lines, for the manor and the castle: " +
                       run.FileOf(upgrading) + " offers a home upgrade");
    }
}

} // namespace

void CheckStations(const TContentRun& run, TCheckReport& report) {
    for (const std::string& file : run.stationFiles) {
        for (const std::string& tag : FirstFields(file, "SetAction")) {
            if (tag != "NULL" && TAction::FindByTag(tag) == nullptr)
                report.Add(file, "SetAction names " + Quoted(tag) + ", which is no action");
        }
    }
    for (const auto& station : StationList) {
        if (station->tag != "NULL" && station->tag.rfind("station_", 0) != 0)
            report.Add(run.FileOf(station.get()),
                       "tag " + Quoted(station->tag) +
                           " does not begin with \"station_\": clicking it opens nothing");
    }
    CheckHome(run, report);
}
