#include "fuzz/LoaderFuzz.hpp"

#include "fuzz/FuzzCheck.hpp"
#include "fuzz/FuzzFolder.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Layer.hpp"

void PrepareLoaderWorld(int earlierKinds) {
    HeadlessReset();
    TFuzzFolder::Enter();
    for (const char* tag :
         {"timebar", "stations", "goalstrings", "goals", "iconlayer", "displays", "radials", "text"})
        TLayer::Create(tag);
    TPlayer::InitSkills();
    void (*const loaders[])() = {[] { TItem::LoadAll(); }, [] { TAction::LoadAll(); },
                                 [] { TStation::LoadAll(); }};
    for (int kind = 0; kind < earlierKinds; ++kind)
        TFuzzFolder::LoadShipped(loaders[kind]);
}

int LoadKindFromInput(const std::string& kind, int (*loadAll)(), const uint8_t* data, size_t size) {
    TFuzzFolder::WriteKind(kind, data, size);
    const int count = loadAll();
    Require(count >= 1 && count <= TFuzzFolder::MaxFiles, "every written file is loaded");
    return count;
}
