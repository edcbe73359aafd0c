// The station loader over a content folder built from the input, against the game's own items and actions.
#include "fuzz/FuzzCheck.hpp"
#include "fuzz/FuzzFolder.hpp"
#include "fuzz/LoaderFuzz.hpp"
#include "rules/Station.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Layer.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    PrepareLoaderWorld(2);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LoadKindFromInput("stations", TStation::LoadAll, data, size);
    Require(StationList.size() <= TFuzzFolder::MaxFiles, "at most one station per file");
    for (const auto& station : StationList) {
        Require(station->actions.size() <= size, "no more actions than lines");
        TStation::Activate(station.get());
        TStation::Deactivate(station.get());
    }
    StationList.clear();
    HotspotList.clear();
    TLayer::Select("stations");
    CurrentLayer->Sprites.clear();
    return 0;
}
