#include "tools/check/ContentRun.hpp"

#include "platform/EventChain.hpp"
#include "rules/Action.hpp"
#include "rules/ContentFile.hpp"
#include "rules/GoalMenu.hpp"
#include "rules/Item.hpp"
#include "rules/Station.hpp"
#include "shell/Level.hpp"
#include "shell/Main.hpp"

#include <algorithm>

void TContentRun::Run() {
    SetDebugLogSink([this](const std::string& text) { log.push_back({current, text}); });
    SetImageRequestListener([this](const TImageRequest& request) { images.push_back(request); });
    BuildProgram();
    // The kinds in the game's loading order: later kinds resolve the tags of earlier ones.
    LoadKind("content/items", itemFiles,
             [](const std::string& path) -> const void* { return TItem::Load(path); });
    LoadKind("content/actions", actionFiles,
             [](const std::string& path) -> const void* { return TAction::Load(path); });
    LoadKind("content/stations", stationFiles,
             [](const std::string& path) -> const void* { return TStation::Load(path); });
    LoadKind("content/levels", levelFiles,
             [](const std::string& path) -> const void* { return TLevel::Load(path); });
    current.clear();
    // Any item may fall back to this icon, so it must load even when no shipped item needs it.
    LoadImage(DefaultIconPath, 0);
    ResetPlayerState();
    for (const auto& level : LevelRegistry) {
        // The goal menu ends the program on too many items; that level is reported, not started.
        if (level->ItemTags.size() <= static_cast<size_t>(MaxItemChoices)) StartLevel(*level);
    }
    current.clear();
    SetImageRequestListener(nullptr);
    SetDebugLogSink(nullptr);
}

std::string TContentRun::FileOf(const void* entry) const {
    const auto found = entryFiles.find(entry);
    return found == entryFiles.end() ? std::string() : found->second;
}

void TContentRun::LoadKind(const std::string& directory, std::vector<std::string>& files,
                           const void* (*load)(const std::string&)) {
    TContentFile::LoadDirectory(directory, [&](const std::string& path) {
        current = path;
        files.push_back(path);
        if (const void* entry = load(path)) entryFiles[entry] = path;
    });
}

void TContentRun::StartLevel(TLevel& level) {
    current = FileOf(&level);
    level.Start();
    TLevelStart start{&level, {}};
    for (const auto& station : StationList) {
        if (station->target == nullptr || station->target->Inactive != 0) continue;
        const bool placed =
            std::any_of(level.Placements.begin(), level.Placements.end(),
                        [&](const TStationPlacement& p) { return p.Station == station.get(); });
        start.shown.push_back({station.get(), static_cast<int>(station->target->X),
                               static_cast<int>(station->target->Y), station->target->Width,
                               station->target->Height, placed});
    }
    starts.push_back(std::move(start));
}
