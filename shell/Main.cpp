#include "shell/Main.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/InfoPanel.hpp"
#include "panels/MenuBrowser.hpp"
#include "panels/Prompt.hpp"
#include "panels/StatsPanel.hpp"
#include "panels/WidgetGroup.hpp"
#include "rules/Action.hpp"
#include "rules/Goal.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/FrameRate.hpp"
#include "shell/GuiDispatch.hpp"
#include "shell/Hooks.hpp"
#include "shell/Level.hpp"
#include "shell/RulesWiring.hpp"
#include "shell/SceneAssembly.hpp"
#include "shell/StationName.hpp"
#include "shell/StatusLine.hpp"
#include "shell/WorldTick.hpp"

TTimer FrameTimer = nullptr;
bool QuitRequested = false;

namespace {

// Everything the run keeps, empty, before any GUI exists; the lists themselves start empty.
void CreateProgramState() {
    PromptGroup = TWidgetGroup::Create("PROMPT_PANEL");
    InfoGroup = TWidgetGroup::Create("INFO_PANEL");
    StatsGroup = TWidgetGroup::Create("STATS_PANEL");
    GoldLinkImage = LoadImage(GoldLinkPath);
    DebugLevel = 0;
}

} // namespace

void BuildGui() {
    TGlobalGadgets::Create();
    // The panels are built out of sight and appear with the window.
    SetVisible(MainWindow, false);
    TPrompt::Build();
    TInfoPanel::Build();
    TStatsPanel::Build();
    SetVisible(MainWindow, true);
    TMenuBrowser::Open(CurrentDirectory() + "/content/html/MainMenu.html", -1, -1, -1, -1);
    SetDrawTarget(GameCanvas);
    ClearTarget();
    Present();
}

void LoadContent() {
    TItem::LoadAll();
    TAction::LoadAll();
    TStation::LoadAll();
    TLevel::LoadAll();
}

void ResetPlayerState() {
    TPlayer::InitSkills();
}

bool HandleLoopEvent(const TEvent& event) {
    if (!WorldHidden && event.id == TimerTick && event.source == FrameTimer) {
        RequestRepaint(GameCanvas);
        WorldTick();
    }
    DispatchGuiEvent();
    if (event.id == TimerTick && event.source == FrameTimer) {
        UpdateStatusLine();
        UpdateStationName();
    }
    if (event.id == KeyDown && event.data == KeyEscape) QuitRequested = true;
    return !QuitRequested;
}

void RunMainLoop() {
    while (const TEvent* event = NextEvent()) {
        if (!HandleLoopEvent(*event)) return;
    }
}

void BuildProgram() {
    CreateProgramState();
    BuildGui();
    ConnectRules();
    BuildScene();
}

void StartUp() {
    BuildProgram();
    LoadContent();
    ResetPlayerState();
    FrameTimer = CreateTimer(FrameRate);
    AddEventHook(PaintHook, 0);
    AddEventHook(PointerHook, 0);
}

int Main() {
    StartUp();
    RunMainLoop();
    return 0;
}
