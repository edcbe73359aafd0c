// The game world as start-up assembles it, on the headless backend with small pictures of the right sizes.

#include "tests/scene/SceneSupport.hpp"

#include "platform/headless/Headless.hpp"
#include "scene/Motivation.hpp"
#include "shell/SceneAssembly.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SceneAssemblyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HeadlessReset();
        ResetSceneState();
        media = std::make_unique<MediaDir>();
        window = OpenWindow("Gorum", 0, 0, 800, 600, nullptr, 41);
        SceneCanvas = AddCanvas(0, 0, 800, 600, window);
        SetDrawTarget(SceneCanvas);
        CustomLayerHook = DrawCustomLayer;
        MotivationValue = &motivation;
    }
    void TearDown() override {
        ResetSceneState();
        media.reset();
        HeadlessReset();
    }

    std::unique_ptr<MediaDir> media;
    TGadget window = nullptr;
    float motivation = 50.0f;
};

TEST_F(SceneAssemblyTest, TwelveLayersInDrawOrderWithTheirRoutines) {
    BuildScene();
    std::vector<std::string> tags, routines;
    for (const TLayerRef& layer : LayerList) {
        tags.push_back(layer->Tag);
        routines.push_back(layer->DrawRoutine);
    }
    EXPECT_EQ(tags, (std::vector<std::string>{"backdrop", "stations", "displays", "timebar", "motivation",
                                              "goalstrings", "goals", "iconlayer", "radialcustom", "radials",
                                              "textback", "text"}));
    EXPECT_EQ(routines, (std::vector<std::string>{"NULL", "NULL", "NULL", "TIMEBAR", "MOTIVATION", "STRINGS",
                                                  "NULL", "NULL", "RADIAL", "NULL", "TEXT", "NULL"}));
}

TEST_F(SceneAssemblyTest, DisplayButtonsSitAtTheirPlacesInTheirLayers) {
    media->Picture("PlayerStats.png", 150, 50);
    media->Picture("MenuButton.png", 150, 50);
    media->Picture("SetGoal.png", 300, 75);
    media->Picture("TutorialButton.png", 300, 50);
    media->Picture("JobButton.png", 750, 150);
    BuildScene();
    struct TExpect {
        const char* tag;
        float x, y;
        int w, h;
        const char* layer;
    };
    for (const TExpect& e :
         {TExpect{"PLAYERSTATS", 0, 0, 50, 50, "displays"}, TExpect{"GAMEMENU", 750, 0, 50, 50, "displays"},
          TExpect{"SETGOAL", 350, 505, 100, 75, "displays"}, TExpect{"TUTORIAL", 10, 550, 100, 50, "text"},
          TExpect{"WORK", 550, 450, 250, 150, "displays"}}) {
        THotspotRef hotspot = THotspot::FindByTag(e.tag);
        ASSERT_NE(hotspot, nullptr) << e.tag;
        EXPECT_EQ(hotspot->Kind, "_DISPLAY") << e.tag;
        EXPECT_EQ(hotspot->X, e.x) << e.tag;
        EXPECT_EQ(hotspot->Y, e.y) << e.tag;
        EXPECT_EQ(hotspot->Width, e.w) << e.tag;
        EXPECT_EQ(hotspot->Height, e.h) << e.tag;
        ASSERT_NE(hotspot->Sprite, nullptr) << e.tag;
        EXPECT_EQ(hotspot->Sprite->Layer->Tag, e.layer) << e.tag;
        EXPECT_EQ(hotspot->Sprite->FrameCount, 3) << e.tag;
    }
}

TEST_F(SceneAssemblyTest, TheJobButtonAndItsIconWaitHiddenForAJob) {
    BuildScene();
    THotspotRef work = THotspot::FindByTag("WORK");
    ASSERT_NE(work, nullptr);
    EXPECT_NE(work->Inactive, 0);
    TSpriteRef icon = TSprite::Find("JOBICON", TLayer::Find("displays"));
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(icon->Hidden, 0);
    EXPECT_EQ(icon->X, 650);
    EXPECT_EQ(icon->Y, 525);
    EXPECT_EQ(icon->Image, nullptr);
}

TEST_F(SceneAssemblyTest, TheWorkMenuHoldsTwoItemsOnARingForThree) {
    BuildScene();
    ASSERT_NE(WorkRadial, nullptr);
    EXPECT_EQ(WorkRadial->Radius, 150);
    EXPECT_EQ(WorkRadial->SlotCount, 3);
    EXPECT_EQ(WorkRadial->ItemCount, 2);
    EXPECT_EQ(WorkRadial->OwnerHotspot, THotspot::FindByTag("WORK"));
    EXPECT_NE(THotspot::FindByTag("RADITEM_WORK"), nullptr);
    EXPECT_NE(THotspot::FindByTag("RADITEM_QUIT"), nullptr);
}

TEST_F(SceneAssemblyTest, ARoutineLayerDrawsOnlyItsRoutineAndUnknownNamesNothing) {
    BuildScene();
    HeadlessClearDrawCalls();
    DrawCustomLayer("NO SUCH ROUTINE");
    DrawCustomLayer("RADIAL");
    EXPECT_TRUE(HeadlessDrawCalls().empty());
    DrawCustomLayer("MOTIVATION");
    EXPECT_FALSE(HeadlessDrawCalls().empty());
}

} // namespace
