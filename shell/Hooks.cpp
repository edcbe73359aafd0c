#include "shell/Hooks.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/StatsPanel.hpp"
#include "scene/Layer.hpp"
#include "scene/Pointer.hpp"

TEvent* PaintHook(TEvent* event) {
    if (event == nullptr || event->id != GadgetPaint) return event;
    if (event->source == GameCanvas) {
        TLayer::RenderAll();
        return nullptr;
    }
    if (event->source == StatsSkills) {
        TStatsPanel::DrawSkills();
        return nullptr;
    }
    if (event->source == StatsInventory) {
        TStatsPanel::DrawInventory();
        return nullptr;
    }
    return event;
}

TEvent* PointerHook(TEvent* event) {
    if (event == nullptr || event->source != GameCanvas) return event;
    if (event->id != MouseMove && event->id != MouseDown && event->id != MouseUp && event->id != MouseLeave)
        return event;
    TrackPointer(*event);
    return nullptr;
}
