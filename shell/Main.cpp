#include "shell/Main.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/WidgetGroup.hpp"
#include "scene/FrameRate.hpp"
#include "shell/GuiDispatch.hpp"
#include "shell/Hooks.hpp"

TTimer FrameTimer = nullptr;
bool QuitRequested = false;

namespace {

TWidgetGroup* PromptGroup = nullptr;
TWidgetGroup* InfoGroup = nullptr;
TWidgetGroup* StatsGroup = nullptr;

void CreateProgramState() {
    PromptGroup = TWidgetGroup::Create("PROMPT_PANEL");
    InfoGroup = TWidgetGroup::Create("INFO_PANEL");
    StatsGroup = TWidgetGroup::Create("STATS_PANEL");
    DebugLevel = 0;
}

} // namespace

void BuildGui() {
    TGlobalGadgets::Create();
    // The panels are built out of sight and appear with the window.
    SetVisible(MainWindow, false);
    SetVisible(MainWindow, true);
    SetDrawTarget(GameCanvas);
    ClearTarget();
    Present();
}

bool HandleLoopEvent(const TEvent& event) {
    if (!WorldHidden && event.id == TimerTick && event.source == FrameTimer) RequestRepaint(GameCanvas);
    DispatchGuiEvent();
    if (event.id == KeyDown && event.data == KeyEscape) QuitRequested = true;
    return !QuitRequested;
}

void RunMainLoop() {
    while (const TEvent* event = NextEvent()) {
        if (!HandleLoopEvent(*event)) return;
    }
}

int Main() {
    CreateProgramState();
    BuildGui();
    FrameTimer = CreateTimer(FrameRate);
    AddEventHook(PaintHook, 0);
    AddEventHook(PointerHook, 0);
    RunMainLoop();
    return 0;
}
