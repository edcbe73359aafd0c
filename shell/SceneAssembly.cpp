#include "shell/SceneAssembly.hpp"

#include "rules/Goal.hpp"
#include "rules/GoalMenu.hpp"
#include "scene/Backdrop.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Layer.hpp"
#include "scene/Motivation.hpp"
#include "scene/RadialItem.hpp"
#include "scene/TextSprite.hpp"
#include "scene/TimeBar.hpp"

TRadialRef WorkRadial;

namespace {

struct TLayerSpec {
    const char* tag;
    const char* routine;
};

// Draw order, back to front; the time bar names its own layer's routine.
constexpr TLayerSpec Layers[] = {
    {"backdrop", "NULL"},         {"stations", "NULL"},       {"displays", "NULL"}, {"timebar", "NULL"},
    {"motivation", "MOTIVATION"}, {"goalstrings", "STRINGS"}, {"goals", "NULL"},    {"iconlayer", "NULL"},
    {"radialcustom", "RADIAL"},   {"radials", "NULL"},        {"textback", "TEXT"}, {"text", "NULL"},
};

// A three-frame strip (rest, hovered, held) under a hotspot of kind "_DISPLAY", in the current layer.
THotspotRef DisplayButton(const std::string& tag, const std::string& image, int width, int height, int x,
                          int y) {
    TSpriteRef sprite = TSprite::LoadAnim(image, width, height, 0, 3);
    THotspotRef hotspot = THotspot::CreateForSprite(sprite, tag, "_DISPLAY");
    hotspot->SetStateFrames(1, 1, 0, 0);
    hotspot->SetPosition(static_cast<float>(x), static_cast<float>(y));
    return hotspot;
}

} // namespace

void BuildLayers() {
    for (const TLayerSpec& spec : Layers)
        TLayer::Create(spec.tag)->DrawRoutine = spec.routine;
}

void DrawCustomLayer(const std::string& name) {
    if (name == "TIMEBAR")
        TTimeBar::DrawTicks();
    else if (name == "STRINGS")
        TGoal::DrawStrings();
    else if (name == "MOTIVATION")
        TMotivation::DrawMeter();
    else if (name == "TEXT")
        TTextSprite::DrawBacks();
    // "RADIAL" and unknown names draw nothing: a radial's parts are ordinary sprites.
}

void BuildScene() {
    TTextSprite::SetupFont();
    BuildLayers();
    TBackdrop::Create("media/Grassy");
    TTimeBar::Setup();

    TLayer::Select("displays");
    DisplayButton("PLAYERSTATS", "media/PlayerStats.png", 50, 50, 0, 0);
    DisplayButton("GAMEMENU", "media/MenuButton.png", 50, 50, 750, 0);
    TMotivation::Setup();
    THotspotRef setGoal = DisplayButton("SETGOAL", "media/SetGoal.png", 100, 75, 350, 505);
    TGoalMenu::Build(setGoal); // leaves "text" current, where the tutorial button belongs
    DisplayButton("TUTORIAL", "media/TutorialButton.png", 100, 50, 10, 550);

    TLayer::Select("displays");
    THotspotRef work = DisplayButton("WORK", "media/JobButton.png", 250, 150, 550, 450);
    TSpriteRef jobIcon = TSprite::Create(1);
    jobIcon->SetPosition(650, 525);
    jobIcon->Tag = "JOBICON";
    jobIcon->Hide();
    work->Hide();

    WorkRadial = TRadial::Create();
    WorkRadial->Radius = 150;
    WorkRadial->Setup(675, 550, 3, 1);
    WorkRadial->AddItem(TRadialItem::CreateNamed("WORK", {}, 1));
    WorkRadial->AddItem(TRadialItem::CreateNamed("QUIT", {}, 1));
    WorkRadial->OwnerHotspot = work;
}
