#include "SceneFixture.hpp"

#include <array>
#include <cmath>

class RadialTest : public SceneFixture {
  protected:
    void SetUp() override {
        SceneFixture::SetUp();
        for (const char* tag : {"displays", "radials", "textback", "text"})
            TLayer::Create(tag);
        TLayer::Select("displays");
    }

    static TRadialRef Ring(int x, int y, int slots) {
        TRadialRef radial = TRadial::Create();
        radial->Radius = 150;
        radial->Setup(x, y, slots, 1);
        return radial;
    }

    static void ExpectAngles(const TRadialRef& radial, const std::vector<float>& expected) {
        ASSERT_EQ(radial->Angles.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(radial->Angles[i], expected[i], 1e-3f) << i;
    }
};

TEST_F(RadialTest, TheJobMenuBendsAwayFromTheBottomRightCorner) {
    TRadialRef job = Ring(675, 550, 3);
    ExpectAngles(job, {90.0f, 150.0f, 210.0f});
    TRadialItemRef work = TRadialItem::CreateNamed("WORK", {}, 1);
    TRadialItemRef quit = TRadialItem::CreateNamed("QUIT", {}, 1);
    job->AddItem(work);
    job->AddItem(quit);
    EXPECT_EQ(job->ItemCount, 2);
    EXPECT_EQ(job->Items[2], nullptr);
    // Without the button art the hotspots are 0 x 0, so their corner is the ring point itself.
    EXPECT_NEAR(work->Hotspot->X, 675.0f, 1e-3f);
    EXPECT_NEAR(work->Hotspot->Y, 400.0f, 1e-3f);
    EXPECT_NEAR(quit->Hotspot->X, 545.096f, 1e-2f);
    EXPECT_NEAR(quit->Hotspot->Y, 475.0f, 1e-3f);
    EXPECT_EQ(work->Hotspot->Tag, "RADITEM_WORK");
    EXPECT_EQ(work->Hotspot->Kind, "_RADIAL");
    EXPECT_EQ(work->Label->Text, "WORK");
}

TEST_F(RadialTest, TheGoalMenuUsesTheUpperHalfAboveTheBottomEdge) {
    ExpectAngles(Ring(400, 550, 6), {18.0f, 54.0f, 90.0f, 126.0f, 162.0f, 198.0f});
}

TEST_F(RadialTest, ARingThatFitsUsesTheFullTurn) {
    ExpectAngles(Ring(400, 300, 4), {60.0f, 180.0f, 300.0f, 60.0f});
    ExpectAngles(Ring(400, 300, 1), {180.0f});
}

TEST_F(RadialTest, ARingRightOfTheSafeBoxKeepsTheArcFacingInward) {
    // The other arc straddles 0 degrees; its middle comes out a hair either side of 0.
    TRadialRef edge = Ring(760, 300, 3);
    const float a1 = std::acos(-10.0f / 150.0f) * 180.0f / 3.14159265f;
    const float step = (360.0f - 2.0f * a1) / 2.0f;
    ExpectAngles(edge, {a1 + step / 2.0f, a1 + 1.5f * step, a1 + 2.5f * step});
    for (int x = 751; x <= 800; ++x) {
        for (int y : {200, 300, 400}) {
            TRadialRef radial = Ring(x, y, 4);
            for (float a : radial->Angles) {
                EXPECT_GE(a, 0.0f);
                EXPECT_LT(a, 360.0f);
            }
            // The first item faces left, into the canvas.
            EXPECT_GT(radial->Angles[0], 90.0f) << x << "," << y;
            EXPECT_LT(radial->Angles[0], 270.0f) << x << "," << y;
        }
    }
}

TEST_F(RadialTest, OfTwoEqualFreeArcsTheEarlierOneWins) {
    // A ring touching the top and bottom lines: the left and the right half sweep 180 each.
    TRadialRef tall = TRadial::Create();
    tall->Radius = 250;
    tall->Setup(400, 300, 3, 1);
    ExpectAngles(tall, {135.0f, 225.0f, 315.0f});
}

TEST_F(RadialTest, CentreButtonsSitBesideTheCentreLineHidden) {
    TRadialRef radial = Ring(400, 300, 3);
    ASSERT_NE(radial->CloseButton, nullptr);
    ASSERT_NE(radial->HelpButton, nullptr);
    EXPECT_EQ(radial->CloseButton->Tag, "RADIALCLOSE");
    EXPECT_EQ(radial->HelpButton->Tag, "RADIALHELP");
    EXPECT_FLOAT_EQ(radial->CloseButton->X, 403.0f);
    EXPECT_FLOAT_EQ(radial->CloseButton->Y, 300.0f);
    EXPECT_FLOAT_EQ(radial->HelpButton->X, 372.0f);
    EXPECT_EQ(radial->CloseButton->Inactive, 1);
    EXPECT_EQ(radial->CloseButton->Sprite->Layer, TLayer::Find("displays"));
    EXPECT_EQ(radial->CloseButton->HoverFrame, 1);

    TRadialRef plain = TRadial::Create();
    plain->HasHelp = 0;
    plain->Setup(100, 100, 2, 1);
    EXPECT_EQ(plain->HelpButton, nullptr);
    EXPECT_NE(plain->CloseButton, nullptr);
}

TEST_F(RadialTest, OpeningAMenuClosesTheOpenOneAndHandsControlBackToItsOwner) {
    THotspotRef station = THotspot::CreateForSprite(TSprite::Create(1), "station_gym", "STATION");
    TRadialRef first = Ring(300, 300, 3);
    first->AddItem(TRadialItem::CreateNamed("A", {}, 0));
    first->OwnerHotspot = station;
    TRadialRef second = Ring(500, 300, 3);
    second->AddItem(TRadialItem::CreateNamed("B", {}, 0));

    station->Disable();
    first->Open();
    EXPECT_EQ(OpenRadial, first);
    EXPECT_EQ(first->Items[0]->Hotspot->Inactive, 0);
    EXPECT_EQ(first->Items[0]->Hotspot->Sprite->Hidden, 0);
    EXPECT_EQ(first->CloseButton->Inactive, 0);
    EXPECT_EQ(first->HelpButton->Inactive, 0);

    second->Open();
    EXPECT_EQ(OpenRadial, second);
    EXPECT_EQ(first->Items[0]->Hotspot->Inactive, 1);
    EXPECT_EQ(first->CloseButton->Inactive, 1);
    EXPECT_EQ(station->Inactive, 0);

    // Closing without restore leaves the owner alone; a hidden owner is never woken up.
    first->Open();
    station->Disable();
    first->Close(0);
    EXPECT_EQ(OpenRadial, nullptr);
    EXPECT_EQ(station->Inactive, 1);
    station->Hide();
    first->Open();
    first->Close(1);
    EXPECT_EQ(station->Inactive, 1);
}

TEST_F(RadialTest, WhileOpenTheWorldsGesturesAreSwallowedAndClickingAwayClosesIt) {
    THotspotRef station = THotspot::CreateForSprite(TSprite::Create(1), "station_gym", "STATION");
    THotspotRef short_kind = THotspot::Create("X", "RADIAL"); // too short to end in "_RADIAL"
    TRadialRef menu = Ring(300, 300, 3);
    TRadialItemRef item = TRadialItem::CreateNamed("A", {}, 0);
    menu->AddItem(item);

    EXPECT_EQ(TRadial::HandleWorldGesture("CLICK1", station), 0);
    menu->Open();
    EXPECT_EQ(TRadial::HandleWorldGesture("CLICK1", nullptr), 0);
    EXPECT_EQ(TRadial::HandleWorldGesture("CLICK1", item->Hotspot), 0);
    EXPECT_EQ(TRadial::HandleWorldGesture("HOLD", station), 1);
    EXPECT_EQ(OpenRadial, menu);
    EXPECT_EQ(TRadial::HandleWorldGesture("CLICK2", short_kind), 1);
    EXPECT_EQ(OpenRadial, nullptr);
    EXPECT_EQ(item->Hotspot->Inactive, 1);
}

TEST_F(RadialTest, DestroyTakesEveryPartOffTheScreenAndTheLists) {
    TRadialRef menu = Ring(300, 300, 3);
    TRadialItemRef item = TRadialItem::CreateNamed("A", {}, 1);
    menu->AddItem(item);
    menu->Open();
    const size_t before = HotspotList.size();
    menu->Destroy();
    EXPECT_EQ(OpenRadial, nullptr);
    EXPECT_TRUE(RadialList.empty());
    EXPECT_EQ(HotspotList.size(), before - 3);
    EXPECT_EQ(THotspot::FindByTag("RADITEM_A"), nullptr);
    EXPECT_EQ(THotspot::FindByTag("RADIALCLOSE"), nullptr);
    EXPECT_TRUE(TLayer::Find("radials")->Sprites.size() == 0);
    EXPECT_TRUE(TextSpriteList.empty());
    EXPECT_EQ(item->Label->Text, "");
}

TEST_F(RadialTest, MoveToLaysTheSameItemsOutAroundTheNewCentre) {
    TRadialRef menu = Ring(400, 300, 3);
    TRadialItemRef a = TRadialItem::CreateNamed("A", {}, 0);
    TRadialItemRef b = TRadialItem::CreateNamed("B", {}, 0);
    menu->AddItem(a);
    menu->AddItem(b);
    THotspotRef close = menu->CloseButton;
    menu->Open();
    menu->MoveTo(675, 550);
    EXPECT_EQ(menu->ItemCount, 2);
    EXPECT_EQ(menu->CloseButton, close);
    EXPECT_FLOAT_EQ(close->X, 678.0f);
    EXPECT_EQ(close->Inactive, 1);
    ExpectAngles(menu, {90.0f, 150.0f, 210.0f});
    EXPECT_NEAR(a->Hotspot->X, 675.0f, 1e-3f);
    EXPECT_NEAR(a->Hotspot->Y, 400.0f, 1e-3f);
    EXPECT_NEAR(b->Hotspot->X, 545.096f, 1e-2f);

    // A full menu takes no more items.
    menu->AddItem(TRadialItem::CreateNamed("C", {}, 0));
    menu->AddItem(TRadialItem::CreateNamed("D", {}, 0));
    EXPECT_EQ(menu->ItemCount, 3);
    EXPECT_EQ(menu->Items[2]->Hotspot->Tag, "RADITEM_C");
}

TEST_F(RadialTest, LabelsArePulledOffTheRightEdgeAndOffTheNextButton) {
    TRadialRef menu = Ring(400, 300, 3);
    TRadialItemRef a = TRadialItem::CreateNamed("A rather long caption", {}, 1);
    TRadialItemRef b = TRadialItem::CreateNamed("B", {}, 1);
    menu->AddItem(a);
    menu->AddItem(b);
    const int width = TextWidth(a->Label->Text);
    const int t = TextHeight();
    ASSERT_GT(width, 60);
    ASSERT_GT(t, 10);

    a->Label->SetPosition(790, 100);
    b->Hotspot->SetPosition(100, 500);
    menu->ArrangeLabels();
    EXPECT_FLOAT_EQ(a->Label->X, static_cast<float>(800 - width));
    EXPECT_FLOAT_EQ(a->Label->Y, 100.0f);
    a->Label->SetPosition(static_cast<float>(800 - width) + 0.5f, 100); // ends at 800 once truncated
    menu->ArrangeLabels();
    EXPECT_FLOAT_EQ(a->Label->X, static_cast<float>(800 - width));

    a->Hotspot->SetPosition(100, 100);
    a->Label->SetPosition(100, 95);
    b->Hotspot->SetPosition(150, 110);
    b->Hotspot->Height = 40;
    menu->ArrangeLabels();
    EXPECT_FLOAT_EQ(a->Label->X, 100.0f);
    EXPECT_FLOAT_EQ(a->Label->Y, static_cast<float>(110 - t)); // just above the next button

    a->Hotspot->SetPosition(100, 120);
    a->Label->SetPosition(100, 95);
    menu->ArrangeLabels();
    EXPECT_FLOAT_EQ(a->Label->Y, 150.0f); // just below it

    a->Label->SetPosition(100, 95);
    b->Hotspot->SetPosition(100.0f + static_cast<float>(width) + 1.0f, 110);
    menu->ArrangeLabels();
    EXPECT_FLOAT_EQ(a->Label->Y, 95.0f); // ends before the next button: left alone
}

TEST_F(RadialTest, ItemsBuildTheirButtonIconAndCaptionInTheRightLayers) {
    media->Picture("RadActions.png", 360, 40);
    media->Picture("IconOverlay.png", 300, 50);
    media->Picture("SocialIcon.png", 30, 30);
    TLayerRef radials = TLayer::Find("radials");
    const std::array<int, 5> base{3, 0, 3, 0, 0};
    int action = 7;
    TRadialItemRef item = TRadialItem::CreateAction("gym_run", "Go running", base, &action);
    EXPECT_EQ(item->Hotspot->Tag, "RADACTION_gym_run");
    EXPECT_EQ(item->Hotspot->Width, 40);
    ASSERT_NE(std::any_cast<int*>(&item->Hotspot->Owner), nullptr);
    EXPECT_EQ(*std::any_cast<int*>(item->Hotspot->Owner), 7);
    ASSERT_NE(item->Icon, nullptr);
    EXPECT_EQ(ImageWidth(item->Icon->Image), 30); // the highest skill kind with a base gain
    ASSERT_EQ(radials->Sprites.size(), 2u);
    EXPECT_EQ(radials->Sprites.front(), item->Hotspot->Sprite);
    EXPECT_EQ(radials->Sprites.back(), item->Icon); // over the button
    EXPECT_EQ(item->Label->Text, "Go running");
    EXPECT_EQ(CurrentLayer, TLayer::Find("text"));
    EXPECT_EQ(item->Hotspot->Inactive, 1);
    EXPECT_EQ(item->Icon->Hidden, 1);
    EXPECT_EQ(item->Label->Hidden, 1);
    EXPECT_EQ(item->Hotspot->HoldFrame, 2);

    item->SetPosition(200, 200);
    EXPECT_FLOAT_EQ(item->Hotspot->X, 180.0f);
    EXPECT_FLOAT_EQ(item->Hotspot->Y, 180.0f);
    EXPECT_FLOAT_EQ(item->Icon->X, 180.0f);
    EXPECT_FLOAT_EQ(item->Label->Y, static_cast<float>(180 - TextHeight() / 2));

    const std::array<int, 5> none{0, 0, 0, 0, 0};
    EXPECT_EQ(TRadialItem::CreateAction("idle", "Idle", none, {})->Icon, nullptr);

    const TImage icon = CreateImage(50, 50);
    TRadialItemRef choice = TRadialItem::CreateItem("car", icon);
    EXPECT_EQ(choice->Hotspot->Tag, "RADITEM_ITEM_car");
    EXPECT_EQ(choice->Hotspot->Width, 50);
    EXPECT_EQ(choice->Label, nullptr);
    EXPECT_FALSE(choice->Hotspot->Owner.has_value());
    EXPECT_EQ(choice->Icon->Image, icon);
    EXPECT_EQ(radials->Sprites.back(), choice->Hotspot->Sprite); // the overlay over the item's icon
    EXPECT_EQ(*std::prev(radials->Sprites.end(), 2), choice->Icon);
    choice->Show();
    EXPECT_EQ(choice->Hotspot->Inactive, 0);
    EXPECT_EQ(choice->Icon->Hidden, 0);

    // An action that gives an item shows that item's icon, small, in the middle of its button.
    TRadialItemRef buy = TRadialItem::CreateAction("buy_car", "Buy a car", none, {}, icon);
    ASSERT_NE(buy->Icon, nullptr);
    EXPECT_EQ(buy->Icon->Image, icon);
    buy->SetPosition(200, 200);
    EXPECT_LT(buy->Icon->DrawnWidth(), 40.0f);
    EXPECT_FLOAT_EQ(buy->Icon->X + buy->Icon->DrawnWidth() / 2, 200.0f);
    EXPECT_FLOAT_EQ(buy->Icon->Y + buy->Icon->DrawnHeight() / 2, 200.0f);
    HeadlessClearDrawCalls();
    buy->Show();
    buy->Icon->Draw();
    const std::vector<TDrawCall> images = Calls(TDrawKind::Image);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_FLOAT_EQ(images[0].state.scaleX, buy->Icon->Scale);
    buy->Icon->Scale = 1.0f;
    buy->Icon->Draw();
    EXPECT_FLOAT_EQ(Calls(TDrawKind::Image).back().state.scaleX, 1.0f); // put back after

    // A named item choice puts its name outside the ring, clear of its button, centred on the spoke.
    TRadialItemRef named = TRadialItem::CreateItem("car", icon, "Red Car");
    ASSERT_NE(named->Label, nullptr);
    EXPECT_EQ(named->Label->Text, "Red Car");
    named->SetPosition(200, 200);
    named->PlaceLabelAwayFrom(200, 100); // the ring's centre above: the name goes below
    EXPECT_GT(named->Label->Y - 2.0f, 225.0f);
    EXPECT_NEAR(named->Label->X + static_cast<float>(named->Label->Width()) / 2, 200.0f, 1.0f);
    named->PlaceLabelAwayFrom(300, 200); // the centre to the right: the name's back ends left of it
    EXPECT_LT(named->Label->X + static_cast<float>(named->Label->Width()) + 5.0f, 175.0f);
    EXPECT_NEAR(named->Label->Y + static_cast<float>(named->Label->Height()) / 2, 200.0f, 1.0f);
}
