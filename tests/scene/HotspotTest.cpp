#include "SceneFixture.hpp"

#include <algorithm>
#include <cmath>

namespace {

// A hotspot over an imageless sprite of the given size, as CreateForSprite makes it.
THotspotRef Spot(const std::string& tag, float x, float y, int w, int h,
                 const std::string& kind = "STATION") {
    TSpriteRef sprite = TSprite::Create(1);
    sprite->FrameWidth = w;
    sprite->FrameHeight = h;
    sprite->FrameCount = 9;
    sprite->SetPosition(x, y);
    return THotspot::CreateForSprite(sprite, tag, kind);
}

} // namespace

class HotspotTest : public SceneFixture {
  protected:
    void SetUp() override {
        SceneFixture::SetUp();
        TLayer::Create("world");
    }

    // One frame tick: the clock moves on by a timer period, then the poll runs.
    static std::string Tick(uint64_t ms = 16) {
        HeadlessAdvanceClock(ms);
        return THotspot::PollAll();
    }
};

TEST_F(HotspotTest, CreateForSpriteTakesTheSpritesPlaceAndSize) {
    EXPECT_EQ(THotspot::PollAll(), "NULL@NULL");
    THotspotRef h = Spot("A", 12.5f, 30, 40, 20);
    EXPECT_FLOAT_EQ(h->X, 12.5f);
    EXPECT_FLOAT_EQ(h->Y, 30.0f);
    EXPECT_EQ(h->Width, 40);
    EXPECT_EQ(h->Height, 20);
    EXPECT_EQ(h->GrabState, GrabFixed);
    Spot("A", 0, 0, 1, 1);
    EXPECT_EQ(THotspot::FindByTag("A"), h);
    EXPECT_EQ(THotspot::FindByTag("a"), nullptr);
    h->Move(1, 2);
    EXPECT_FLOAT_EQ(h->Sprite->X, 13.5f);
    EXPECT_FLOAT_EQ(h->Sprite->Y, 32.0f);
}

TEST_F(HotspotTest, HoverIsNeverReportedAndTheEdgesCount) {
    THotspotRef h = Spot("A", 100, 100, 50, 40);
    h->SetStateFrames(1, 1, 0, 0);
    MoveTo(150, 140); // right and bottom edge
    EXPECT_EQ(Tick(), "NULL@NULL");
    EXPECT_EQ(h->Sprite->Frame, 1);
    EXPECT_EQ(h->LastButton, 0);
    MoveTo(151, 140);
    Tick();
    EXPECT_EQ(h->Sprite->Frame, 0);
    MoveTo(150, 140);
    h->Disable();
    Press(1);
    EXPECT_EQ(Tick(), "NULL@NULL");
    EXPECT_EQ(h->Sprite->Hidden, 0);
}

// The pointer gone to a panel or another window leaves nothing lit; a held token stays where it was.
TEST_F(HotspotTest, LeavingTheCanvasEndsTheHoverAndComingBackLightsItAgain) {
    THotspotRef h = Spot("A", 100, 100, 50, 40);
    h->SetStateFrames(1, 1, 0, 0);
    THotspotRef carried = Spot("B", 300, 300, 40, 40);
    MoveTo(120, 120);
    Tick();
    ASSERT_EQ(h->Sprite->Frame, 1);
    carried->Grab();
    TEvent leave;
    leave.id = MouseLeave;
    TrackPointer(leave);
    Tick();
    EXPECT_EQ(h->Sprite->Frame, 0);
    EXPECT_EQ(carried->X, 300.0f);
    carried->Release();
    MoveTo(120, 120);
    Tick();
    EXPECT_EQ(h->Sprite->Frame, 1);
}

TEST_F(HotspotTest, HoldingGivesHoldThenOneSqueezeAfterThreeSecondsThenClick) {
    THotspotRef h = Spot("SETGOAL", 100, 100, 100, 100);
    h->SetStateFrames(1, 1, 1, 0);
    h->Release(); // free: it could be picked up, but not after a squeeze
    MoveTo(150, 150);
    EXPECT_EQ(Tick(), "NULL@NULL");
    EXPECT_EQ(h->Sprite->Frame, 1);

    Press(1);
    HeadlessAdvanceClock(5);
    const uint32_t firstSeen = Milliseconds() + 16;
    int squeezes = 0;
    uint32_t squeezedAt = 0;
    for (int i = 0; i < 250; ++i) {
        const std::string g = Tick();
        if (g == "SQUEEZE@SETGOAL") {
            ++squeezes;
            squeezedAt = Milliseconds();
            EXPECT_EQ(h->Sprite->Frame, 3);
        } else {
            ASSERT_EQ(g, "HOLD@SETGOAL") << "tick " << i;
            if (squeezes == 0) {
                EXPECT_EQ(h->Sprite->Frame, 2);
            }
        }
    }
    EXPECT_EQ(squeezes, 1);
    EXPECT_GT(squeezedAt - firstSeen, 3000u);
    EXPECT_LE(squeezedAt - firstSeen, 3016u);
    EXPECT_EQ(h->Sprite->Frame, 3);

    Release();
    EXPECT_EQ(Tick(), "CLICK1@SETGOAL");
    EXPECT_EQ(GrabbedHotspot, nullptr);
    EXPECT_EQ(h->GrabState, GrabFree);
    EXPECT_EQ(Tick(), "NULL@NULL");
}

// A touchpad tap or a synthetic click presses and releases between two frames.
TEST_F(HotspotTest, ATapShorterThanAFrameIsStillAClick) {
    Spot("TAPPED", 100, 100, 50, 50);
    MoveTo(120, 120);
    EXPECT_EQ(Tick(), "NULL@NULL");
    Press(1);
    Release();
    EXPECT_EQ(PointerButton, 1) << "the release waits for a poll to see the press";
    EXPECT_EQ(Tick(), "HOLD@TAPPED");
    EXPECT_EQ(PointerButton, 0);
    EXPECT_EQ(Tick(), "CLICK1@TAPPED");
    EXPECT_EQ(Tick(), "NULL@NULL");

    // A press the poll has already seen is released at once.
    Press(2);
    EXPECT_EQ(Tick(), "HOLD@TAPPED");
    Release();
    EXPECT_EQ(PointerButton, 0);
    EXPECT_EQ(Tick(), "CLICK2@TAPPED");
}

TEST_F(HotspotTest, PickUpFollowsThePointerAndTheNextLeftClickDrops) {
    THotspotRef h = Spot("GOAL_1", 100, 100, 50, 50);
    THotspotRef other = Spot("station_gym", 400, 400, 50, 50);
    h->Release();
    MoveTo(120, 120);
    Press(1);
    EXPECT_EQ(Tick(), "HOLD@GOAL_1");
    Release();
    EXPECT_EQ(Tick(), "NULL@NULL"); // the pick-up is not reported
    EXPECT_EQ(GrabbedHotspot, h);
    EXPECT_EQ(h->GrabState, GrabHeld);

    MoveTo(220, 170);
    EXPECT_EQ(Tick(), "NULL@NULL");
    EXPECT_FLOAT_EQ(h->X, 200.0f);
    EXPECT_FLOAT_EQ(h->Y, 150.0f);
    EXPECT_FLOAT_EQ(h->Sprite->X, 200.0f);

    // Nothing else reacts while it is held, and neither a right nor a middle click drops it.
    MoveTo(420, 420);
    Press(1);
    EXPECT_EQ(Tick(), "NULL@NULL");
    Release();
    EXPECT_EQ(Tick(), "NULL@NULL");
    EXPECT_EQ(other->LastButton, 0);
    for (int button : {2, 3}) {
        Press(button);
        for (int i = 0; i < 200; ++i)
            EXPECT_EQ(Tick(), "NULL@NULL");
        Release();
        EXPECT_EQ(Tick(), "NULL@NULL");
        EXPECT_EQ(GrabbedHotspot, h);
    }
    EXPECT_FLOAT_EQ(h->X, 400.0f);

    Press(1);
    EXPECT_EQ(Tick(), "NULL@NULL");
    Release();
    EXPECT_EQ(Tick(), "DROP@GOAL_1");
    EXPECT_EQ(GrabbedHotspot, nullptr);
    EXPECT_EQ(h->GrabState, GrabFree);
    EXPECT_EQ(h->LastPointerX, -1000);
}

TEST_F(HotspotTest, AHeldHotspotStaysOnTheCanvas) {
    THotspotRef h = Spot("GOAL_1", 100, 100, 50, 50);
    h->Release();
    MoveTo(120, 120);
    Press(1);
    Tick();
    Release();
    Tick();
    ASSERT_EQ(GrabbedHotspot, h);
    MoveTo(2000, -900);
    Tick();
    EXPECT_FLOAT_EQ(h->X, 800.0f);
    EXPECT_FLOAT_EQ(h->Y, 0.0f);
    MoveTo(-5000, 5000);
    Tick();
    EXPECT_FLOAT_EQ(h->X, 0.0f);
    EXPECT_FLOAT_EQ(h->Y, 600.0f);
    EXPECT_FLOAT_EQ(h->Sprite->Y, 600.0f);
}

TEST_F(HotspotTest, APressThatBeganOutsideStillHoldsAndClicksOverIt) {
    Spot("A", 100, 100, 50, 50);
    MoveTo(10, 10);
    Press(3);
    EXPECT_EQ(Tick(), "NULL@NULL");
    MoveTo(110, 110);
    EXPECT_EQ(Tick(), "HOLD@A");
    Release();
    EXPECT_EQ(Tick(), "CLICK3@A");
}

TEST_F(HotspotTest, OverlappingHotspotsReportTheEarlierOneOnly) {
    THotspotRef first = Spot("FIRST", 100, 100, 50, 50);
    THotspotRef second = Spot("SECOND", 120, 120, 50, 50);
    second->SetStateFrames(1, 1, 0, 0);
    MoveTo(130, 130);
    Press(1);
    EXPECT_EQ(Tick(), "HOLD@FIRST");
    Release();
    EXPECT_EQ(Tick(), "CLICK1@FIRST");
    // The walk stopped at the first one: the second was not looked at in those ticks.
    EXPECT_EQ(second->LastButton, 0);
    EXPECT_EQ(second->Sprite->Frame, 0);
    // Hover is not reported, so the walk goes on and reaches it.
    EXPECT_EQ(Tick(), "NULL@NULL");
    EXPECT_EQ(second->Sprite->Frame, 1);
}

TEST_F(HotspotTest, AnOpenRadialHidesEveryOtherHotspotAndPicksNothingUp) {
    THotspotRef station = Spot("station_gym", 100, 100, 50, 50);
    station->SetStateFrames(1, 1, 0, 0);
    THotspotRef button = Spot("RADITEM_WORK", 300, 300, 40, 40, "_RADIAL");
    button->Release();
    MoveTo(120, 120);
    Tick();
    ASSERT_EQ(station->Sprite->Frame, 1);
    TRadialRef menu = TRadial::Create();
    menu->Radius = 150;
    menu->Setup(400, 300, 3, 1);
    menu->Open();
    ASSERT_EQ(OpenRadial, menu);
    Tick();
    EXPECT_EQ(station->Sprite->Frame, 0) << "the ring's pointer lights nothing under it";

    MoveTo(120, 120);
    Press(1);
    EXPECT_EQ(Tick(), "NULL@NULL");
    Release();
    EXPECT_EQ(Tick(), "NULL@NULL");
    EXPECT_EQ(station->LastButton, 0);
    EXPECT_EQ(station->Sprite->Frame, 0);

    MoveTo(320, 320);
    Press(1);
    EXPECT_EQ(Tick(), "HOLD@RADITEM_WORK");
    Release();
    EXPECT_EQ(Tick(), "CLICK1@RADITEM_WORK");
    EXPECT_EQ(GrabbedHotspot, nullptr);

    menu->Close(1);
    MoveTo(120, 120);
    Press(1);
    EXPECT_EQ(Tick(), "HOLD@station_gym");
}

TEST_F(HotspotTest, AFreeHotspotGlidesHomeAndStopsWithinFivePixels) {
    THotspotRef h = Spot("GOAL_1", 280, 100, 40, 40); // centre (300, 120)
    h->Release();
    h->HomeX = 200;
    h->HomeY = 120;
    h->ScaleReturn = 0;
    MoveTo(700, 500);
    const float b = 80.0f / 60.0f;
    std::vector<float> steps;
    for (int i = 0; i < 400; ++i) {
        const float before = h->X;
        Tick();
        EXPECT_FLOAT_EQ(h->Y, 100.0f);
        if (h->X != before) steps.push_back(before - h->X);
    }
    ASSERT_GT(steps.size(), 45u);
    // Full speed while the corner is at least 20 px from the home x (the corner's slope caps at 1).
    for (size_t i = 0; i < 45; ++i)
        EXPECT_NEAR(steps[i], b, 1e-4f) << i;
    // Closer in the slope shrinks, down to its floor of a quarter while the corner passes the home x.
    EXPECT_NEAR(*std::min_element(steps.begin(), steps.end()), b / 4.0f, 1e-4f);
    const int cx = static_cast<int>(h->X + 20.0f);
    EXPECT_LE(std::abs(cx - 200), 5);
    EXPECT_GT(std::abs(cx - 200), 4); // it stopped as soon as it got within 5, not on the home x
    const float rest = h->X;
    for (int i = 0; i < 20; ++i)
        Tick();
    EXPECT_FLOAT_EQ(h->X, rest);
}

TEST_F(HotspotTest, ReturnSpeedGrowsWithTheDistanceFromTheAnchor) {
    THotspotRef h = Spot("GOAL_1", 280, 100, 40, 40);
    h->Release();
    h->HomeX = 200;
    h->HomeY = 120;
    h->AnchorX = 200;
    h->AnchorY = 120;
    Tick();
    EXPECT_NEAR(h->X, 280.0f - 80.0f / 60.0f * (7.0f * 100.0f / 800.0f + 1.0f), 1e-4f);
    // A fixed hotspot never moves home.
    THotspotRef fixed = Spot("FIXED", 280, 100, 40, 40);
    fixed->HomeX = 200;
    fixed->HomeY = 120;
    Tick();
    EXPECT_FLOAT_EQ(fixed->X, 280.0f);
}

TEST_F(HotspotTest, ALeashPutsACarriedHotspotBackOnItsCircleAndLetsGo) {
    THotspotRef h = Spot("GOAL_1", 180, 180, 40, 40); // centre (200, 200)
    h->Release();
    h->Leash = 100;
    h->AnchorX = 200;
    h->AnchorY = 200;
    MoveTo(200, 200);
    Press(1);
    Tick();
    Release();
    Tick();
    ASSERT_EQ(GrabbedHotspot, h);

    MoveTo(350, 200);
    Tick(); // carried 150 px out; the leash is checked against where it was
    EXPECT_FLOAT_EQ(h->X, 330.0f);
    MoveTo(360, 200);
    Tick();
    EXPECT_FLOAT_EQ(h->X, 280.0f); // centre back at 100 px
    EXPECT_FLOAT_EQ(h->Y, 180.0f);
    EXPECT_EQ(GrabbedHotspot, nullptr);
    EXPECT_EQ(h->GrabState, GrabFree);
    MoveTo(500, 200);
    Tick();
    EXPECT_FLOAT_EQ(h->X, 280.0f); // no longer following
}

TEST_F(HotspotTest, ASliderKnobIsDraggedWithinItsBounds) {
    THotspotRef knob = Spot("SKILLAMOUNT", 0, 0, 20, 20, "_DISPLAY_RADIAL");
    knob->MakeSlider(450, 325, 475);
    EXPECT_FLOAT_EQ(knob->X, 325.0f);
    EXPECT_FLOAT_EQ(knob->Y, 450.0f);
    EXPECT_EQ(knob->PickMode, "DRAG");
    EXPECT_EQ(knob->GrabState, GrabFree);

    MoveTo(330, 455);
    Press(1);
    EXPECT_EQ(Tick(), "NULL@NULL"); // grabbed at once, so the hold is not reported
    EXPECT_EQ(GrabbedHotspot, knob);
    MoveTo(600, 500);
    Tick();
    EXPECT_FLOAT_EQ(knob->X, 475.0f);
    EXPECT_FLOAT_EQ(knob->Y, 451.0f);
    MoveTo(0, 0);
    Tick();
    EXPECT_FLOAT_EQ(knob->X, 325.0f);
    EXPECT_FLOAT_EQ(knob->Y, 450.0f);
    MoveTo(400, 455);
    Tick();
    EXPECT_FLOAT_EQ(knob->X, 475.0f); // followed the whole way the pointer went, then bounded
    Release();
    Tick();
    EXPECT_EQ(GrabbedHotspot, nullptr);
    EXPECT_EQ(knob->GrabState, GrabFree);
    MoveTo(100, 100);
    Tick();
    EXPECT_FLOAT_EQ(knob->X, 475.0f);
}

TEST_F(HotspotTest, StateFramesAndVariants) {
    THotspotRef h = Spot("A", 0, 0, 40, 40);
    h->SetStateFrames(1, 1, 0, 0);
    EXPECT_EQ(h->HoverFrame, 1);
    EXPECT_EQ(h->HoldFrame, 2);
    EXPECT_EQ(h->SqueezeFrame, -1);
    h->SetVariant(2); // 9 frames: variant 2 is frames 6, 7, 8
    EXPECT_EQ(h->NormalFrame, 6);
    EXPECT_EQ(h->HoverFrame, 7);
    EXPECT_EQ(h->HoldFrame, 8);
    EXPECT_EQ(h->Sprite->Frame, 6);
    h->Sprite->Frame = 7;
    h->SetVariant(3); // does not fit: frames kept, sprite back at rest
    EXPECT_EQ(h->NormalFrame, 6);
    EXPECT_EQ(h->HoverFrame, 7);
    EXPECT_EQ(h->Sprite->Frame, 6);
    h->SetVariant(0);
    EXPECT_EQ(h->HoverFrame, 1);

    h->SetStateFrames(0, 1, 0, 1); // hover keeps its earlier base
    EXPECT_EQ(h->HoverFrame, 1);
    EXPECT_EQ(h->HoldFrame, 1);
    EXPECT_EQ(h->HeldFrame, 2);
    EXPECT_EQ(h->NormalFrame, 0);
}

TEST_F(HotspotTest, CloneCopiesPlaceAndBehaviourButNotPressState) {
    THotspotRef h = Spot("GOAL_1", 10, 20, 30, 40, "_GOAL");
    TLayer::Create("later");
    h->SetStateFrames(1, 1, 1, 1);
    h->SetVariant(1);
    h->Release();
    h->MaxX = 700;
    h->MinY = 5;
    h->Leash = 100;
    h->AnchorX = 1;
    h->AnchorY = 2;
    h->HomeX = 3;
    h->HomeY = 4;
    h->ScaleReturn = 0;
    h->PickMode = "DRAG";
    h->LastButton = 1;
    h->Squeezed = 1;
    h->Disable();
    h->Owner = 42;

    THotspotRef copy = h->Clone("GOAL_2");
    EXPECT_EQ(HotspotList.back(), copy);
    EXPECT_EQ(copy->Tag, "GOAL_2");
    EXPECT_EQ(copy->Kind, "_GOAL");
    EXPECT_EQ(copy->HoverFrame, h->HoverFrame);
    EXPECT_EQ(copy->HeldFrame, h->HeldFrame);
    EXPECT_EQ(copy->GrabState, GrabFree);
    EXPECT_FLOAT_EQ(copy->X, 10.0f);
    EXPECT_EQ(copy->Height, 40);
    EXPECT_EQ(copy->MaxX, 700);
    EXPECT_EQ(copy->MinY, 5);
    EXPECT_EQ(copy->Leash, 100);
    EXPECT_EQ(copy->AnchorY, 2);
    EXPECT_EQ(copy->HomeY, 4);
    EXPECT_EQ(copy->ScaleReturn, 0);
    EXPECT_EQ(copy->PickMode, "PICKUP");
    EXPECT_EQ(copy->NormalFrame, 0);
    EXPECT_EQ(copy->HoverBase, -1);
    EXPECT_EQ(copy->LastButton, 0);
    EXPECT_EQ(copy->Squeezed, 0);
    EXPECT_EQ(copy->Inactive, 0);
    EXPECT_FALSE(copy->Owner.has_value());

    ASSERT_NE(copy->Sprite, h->Sprite);
    EXPECT_EQ(copy->Sprite->Tag, "nullcopy");
    EXPECT_EQ(copy->Sprite->Layer, h->Sprite->Layer);
    EXPECT_EQ(h->Sprite->Layer->Sprites.back(), copy->Sprite);
}

TEST_F(HotspotTest, VisibilityAndDestruction) {
    THotspotRef h = Spot("A", 0, 0, 40, 40);
    h->Hide();
    EXPECT_EQ(h->Inactive, 1);
    EXPECT_EQ(h->Sprite->Hidden, 1);
    h->SyncWithSprite();
    EXPECT_EQ(h->Inactive, 1);
    h->Show();
    h->Disable();
    h->SyncWithSprite();
    EXPECT_EQ(h->Inactive, 0);

    // Destroying the held hotspot lets go of it, or no gesture would ever be reported again.
    THotspotRef other = Spot("B", 100, 100, 40, 40);
    h->Release();
    h->Grab();
    const TLayerRef layer = h->Sprite->Layer;
    h->Destroy();
    EXPECT_EQ(GrabbedHotspot, nullptr);
    EXPECT_EQ(THotspot::FindByTag("A"), nullptr);
    EXPECT_EQ(layer->Sprites.size(), 1u);
    MoveTo(110, 110);
    Press(1);
    EXPECT_EQ(Tick(), "HOLD@B");
}

TEST_F(HotspotTest, GrabbingOneHotspotReleasesTheOther) {
    THotspotRef a = Spot("A", 0, 0, 40, 40);
    THotspotRef b = Spot("B", 100, 100, 40, 40);
    a->Release();
    b->Release();
    a->Grab();
    b->Grab();
    EXPECT_EQ(GrabbedHotspot, b);
    EXPECT_EQ(a->GrabState, GrabFree);
    EXPECT_EQ(a->LastPointerX, -1000);
}
