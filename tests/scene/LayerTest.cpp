#include "SceneFixture.hpp"

#include <algorithm>

namespace {

TSpriteRef SpriteWith(const TImage& image, float x, float y, const std::string& tag) {
    TSpriteRef sprite = TSprite::FromImage(image);
    sprite->SetPosition(x, y);
    sprite->Tag = tag;
    return sprite;
}

// A sprite over a strip of the given number of 10 x 10 frames, as LoadAnim would leave it.
TSpriteRef Strip(int frames) {
    TSpriteRef sprite = TSprite::FromImage(CreateImage(10, 10, frames, -1));
    sprite->FrameWidth = 10;
    sprite->FrameHeight = 10;
    sprite->FrameCount = frames;
    return sprite;
}

} // namespace

using LayerTest = SceneFixture;

TEST_F(LayerTest, LaterLayersDrawOverEarlierOnesAndLaterSpritesOverEarlierOnes) {
    const TImage a = CreateImage(10, 10);
    const TImage b = CreateImage(10, 10);
    const TImage c = CreateImage(10, 10);
    TLayerRef back = TLayer::Create("back");
    TLayerRef front = TLayer::Create("front");
    front->Blend = BlendLight;
    SpriteWith(c, 5.9f, -3.7f, "c"); // front is current
    back->MakeCurrent();
    SpriteWith(a, 0, 0, "a");
    SpriteWith(b, 0, 0, "b");

    TLayer::RenderAll();

    const auto images = Calls(TDrawKind::Image);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].image, a);
    EXPECT_EQ(images[1].image, b);
    EXPECT_EQ(images[2].image, c);
    EXPECT_EQ(images[0].state.blend, BlendAlpha);
    EXPECT_EQ(images[2].state.blend, BlendLight);
    // Positions are truncated toward zero when drawn.
    EXPECT_FLOAT_EQ(images[2].x, 5.0f);
    EXPECT_FLOAT_EQ(images[2].y, -3.0f);
    ASSERT_FALSE(HeadlessDrawCalls().empty());
    EXPECT_EQ(HeadlessDrawCalls().back().kind, TDrawKind::Present);
    EXPECT_EQ(HeadlessDrawCalls().back().target, canvas);
}

TEST_F(LayerTest, HiddenLayersAndHiddenSpritesAreSkipped) {
    const TImage a = CreateImage(10, 10);
    const TImage b = CreateImage(10, 10);
    TLayerRef first = TLayer::Create("first");
    SpriteWith(a, 0, 0, "a")->Hide();
    TLayerRef second = TLayer::Create("second");
    SpriteWith(b, 0, 0, "b");
    second->Hide();
    TLayer::RenderAll();
    EXPECT_TRUE(Calls(TDrawKind::Image).empty());

    second->Show();
    HeadlessClearDrawCalls();
    TLayer::RenderAll();
    ASSERT_EQ(Calls(TDrawKind::Image).size(), 1u);
    EXPECT_EQ(Calls(TDrawKind::Image)[0].image, b);
}

TEST_F(LayerTest, CloneIsInsertedAtTheEndOfItsOwnLayerWithFreshAnimation) {
    const TImage a = CreateImage(10, 10, 3);
    const TImage b = CreateImage(10, 10);
    TLayerRef home = TLayer::Create("home");
    TSpriteRef original = SpriteWith(a, 12, 34, "orig");
    original->Frame = 2;
    original->FrameWidth = 10;
    original->FrameHeight = 10;
    original->FrameCount = 3;
    original->FrameDelay = 40;
    original->Tiled = 0;
    original->Play(AnimPingPong);
    original->Hide();
    SpriteWith(b, 0, 0, "later");
    TLayer::Create("elsewhere"); // current now, but the clone still goes home

    TSpriteRef copy = original->Clone("copy");
    ASSERT_EQ(home->Sprites.size(), 3u);
    EXPECT_EQ(home->Sprites.back(), copy);
    EXPECT_EQ(copy->Layer, home);
    EXPECT_EQ(copy->Image, a);
    EXPECT_EQ(copy->Tag, "copy");
    EXPECT_FLOAT_EQ(copy->X, 12.0f);
    EXPECT_FLOAT_EQ(copy->Y, 34.0f);
    EXPECT_EQ(copy->Frame, 2);
    EXPECT_EQ(copy->FrameCount, 3);
    EXPECT_EQ(copy->FrameDelay, 40);
    EXPECT_EQ(copy->Hidden, 0);
    EXPECT_EQ(copy->Animating, 0);
    EXPECT_EQ(copy->AnimMode, AnimLoop);

    TLayer::RenderAll();
    const auto images = Calls(TDrawKind::Image);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].image, b);
    EXPECT_EQ(images[1].image, a); // the clone, on top of everything already in the layer
}

TEST_F(LayerTest, ADrawRoutineReplacesTheLayersOwnSprites) {
    std::vector<std::string> routines;
    TLayerRef custom = TLayer::Create("custom");
    custom->DrawRoutine = "TIMEBAR";
    custom->Blend = BlendShade;
    SpriteWith(CreateImage(10, 10), 0, 0, "never");
    int blendSeen = 0;
    CustomLayerHook = [&](const std::string& name) {
        routines.push_back(name);
        blendSeen = canvas->draw.blend;
    };
    TLayer::RenderAll();
    EXPECT_TRUE(Calls(TDrawKind::Image).empty());
    ASSERT_EQ(routines.size(), 1u);
    EXPECT_EQ(routines[0], "TIMEBAR");
    EXPECT_EQ(blendSeen, BlendShade);

    custom->Hide();
    TLayer::RenderAll();
    EXPECT_EQ(routines.size(), 1u);

    // Without a connected routine the layer still draws nothing of its own.
    custom->Show();
    CustomLayerHook = nullptr;
    TLayer::RenderAll();
    EXPECT_TRUE(Calls(TDrawKind::Image).empty());
}

TEST_F(LayerTest, LookupsAndCurrentLayer) {
    TLayerRef a = TLayer::Create("a");
    TSpriteRef inA = TSprite::Create(1);
    inA->Tag = "x";
    TLayerRef b = TLayer::Create("b");
    EXPECT_EQ(CurrentLayer, b);
    EXPECT_EQ(TLayer::Find("a"), a);
    EXPECT_EQ(TLayer::Find("A"), nullptr);
    EXPECT_EQ(TSprite::Find("x", nullptr), nullptr); // only the current layer is searched
    EXPECT_EQ(TSprite::Find("x", a), inA);
    EXPECT_EQ(TLayer::Select("missing"), 0);
    EXPECT_EQ(CurrentLayer, b);
    EXPECT_EQ(TLayer::Select("a"), 1);
    EXPECT_EQ(CurrentLayer, a);
    EXPECT_EQ(TSprite::Find("x", nullptr), inA);
}

TEST_F(LayerTest, ASpriteMadeWithoutAddingIsInNoListButItsClonesLandInItsLayer) {
    TLayerRef layer = TLayer::Create("layer");
    TSpriteRef loose = TSprite::Create(0);
    EXPECT_TRUE(layer->Sprites.empty());
    EXPECT_FALSE(loose->LayerEntry.has_value());
    EXPECT_EQ(loose->Layer, layer);
    TSpriteRef copy = loose->Clone("copy");
    ASSERT_EQ(layer->Sprites.size(), 1u);
    EXPECT_EQ(layer->Sprites.front(), copy);
}

TEST_F(LayerTest, RemoveAndDestroyTakeSpritesOffTheScreen) {
    TLayerRef layer = TLayer::Create("layer");
    TSpriteRef a = SpriteWith(CreateImage(10, 10), 0, 0, "a");
    TSpriteRef b = SpriteWith(CreateImage(10, 10), 0, 0, "b");
    a->Remove();
    a->Remove(); // twice is harmless
    ASSERT_EQ(layer->Sprites.size(), 1u);
    EXPECT_EQ(layer->Sprites.front(), b);

    TLayer::Create("other");
    layer->Destroy();
    EXPECT_EQ(TLayer::Find("layer"), nullptr);
    EXPECT_EQ(LayerList.size(), 1u);
    EXPECT_TRUE(layer->Sprites.empty());
    EXPECT_FALSE(b->LayerEntry.has_value());
}

TEST_F(LayerTest, TilingCoversTheWholeCanvasFromTheOrigin) {
    media->Picture("tile.png", 300, 250);
    TLayer::Create("backdrop");
    TSpriteRef tile = TSprite::Load("media/tile.png");
    ASSERT_NE(tile->Image, nullptr);
    EXPECT_EQ(tile->FrameWidth, 300);
    EXPECT_EQ(tile->FrameHeight, 250);
    tile->Tiled = 1;
    tile->SetPosition(77, 99); // ignored when tiled
    EXPECT_EQ(tile->Draw(), 1);

    const auto images = Calls(TDrawKind::Image);
    // Columns 0..800/300+1 and rows 0..600/250+1, both ends included.
    ASSERT_EQ(images.size(), 16u);
    std::vector<bool> covered(800 * 600, false);
    for (const TDrawCall& call : images) {
        EXPECT_EQ(static_cast<int>(call.x) % 300, 0);
        EXPECT_EQ(static_cast<int>(call.y) % 250, 0);
        for (int y = static_cast<int>(call.y); y < std::min(600, static_cast<int>(call.y) + 250); ++y) {
            for (int x = static_cast<int>(call.x); x < std::min(800, static_cast<int>(call.x) + 300); ++x) {
                covered[static_cast<size_t>(y * 800 + x)] = true;
            }
        }
    }
    EXPECT_TRUE(std::all_of(covered.begin(), covered.end(), [](bool c) { return c; }));
}

TEST_F(LayerTest, AMissingImageLeavesASpriteThatDrawsNothing) {
    TLayerRef layer = TLayer::Create("layer");
    TSpriteRef missing = TSprite::Load("media/no_such_picture.png");
    ASSERT_EQ(layer->Sprites.size(), 1u);
    EXPECT_EQ(missing->Image, nullptr);
    EXPECT_EQ(missing->FrameWidth, 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "LOG: Failed to load image: media/no_such_picture.png");

    TSpriteRef strip = TSprite::LoadAnim("media/no_such_strip.png", 40, 40, 0, 9);
    EXPECT_EQ(strip->FrameCount, 9);
    EXPECT_EQ(strip->FrameWidth, 0);
    EXPECT_EQ(log.back(), "LOG: Failed to load image: media/no_such_strip.png");

    missing->Tiled = 1; // a tiling without a frame size must not divide by it
    EXPECT_EQ(layer->Draw(), 0);
    EXPECT_TRUE(Calls(TDrawKind::Image).empty());

    EXPECT_EQ(missing->SetFrameDelay(50), 0);
    EXPECT_EQ(missing->FrameDelay, 100);
    EXPECT_EQ(log.back(), "LOG: Cannot set animation to imageless sprite!");
    SpriteWith(CreateImage(10, 10), 0, 0, "ok");
    EXPECT_EQ(layer->Draw(), 0); // one sprite without an image spoils the product
}

TEST_F(LayerTest, LoadAnimCutsTheStripIntoCells) {
    media->Picture("strip.png", 120, 40);
    TLayer::Create("layer");
    TSpriteRef strip = TSprite::LoadAnim("media/strip.png", 40, 40, 0, 3);
    ASSERT_NE(strip->Image, nullptr);
    EXPECT_EQ(strip->FrameCount, 3);
    EXPECT_EQ(strip->FrameWidth, 40);
    EXPECT_EQ(strip->FrameHeight, 40);
    EXPECT_EQ(ImageFrames(strip->Image), 3);
    EXPECT_EQ(strip->SetFrameDelay(50), 1);
    EXPECT_EQ(strip->FrameDelay, 50);
}

class AnimationTest : public SceneFixture {
  protected:
    // Draws once at the given clock time and returns the frame that was drawn.
    int FrameAt(const TSpriteRef& sprite, uint64_t ms) {
        HeadlessSetClock(ms);
        HeadlessClearDrawCalls();
        TLayer::RenderAll();
        const auto images = Calls(TDrawKind::Image);
        if (images.empty()) return -1;
        EXPECT_EQ(images.back().frame, sprite->Frame);
        return images.back().frame;
    }
};

TEST_F(AnimationTest, LoopAdvancesOneFrameAfterEachDelayAndWraps) {
    TLayer::Create("layer");
    TSpriteRef sprite = Strip(3);
    sprite->Play(AnimLoop);
    EXPECT_EQ(FrameAt(sprite, 100), 0); // exactly one delay: not yet
    EXPECT_EQ(FrameAt(sprite, 101), 1);
    EXPECT_EQ(FrameAt(sprite, 150), 1);
    EXPECT_EQ(FrameAt(sprite, 200), 1); // frame 1 fell due at 100, so frame 2 is due after 200
    EXPECT_EQ(FrameAt(sprite, 201), 2);
    EXPECT_EQ(FrameAt(sprite, 301), 0);
    EXPECT_EQ(sprite->Animating, 1);
}

TEST_F(AnimationTest, PlayOnceRestsOnFrameZero) {
    TLayer::Create("layer");
    TSpriteRef sprite = Strip(4);
    sprite->Play(AnimOnce);
    std::vector<int> seen;
    for (uint64_t t = 0; t <= 600; t += 50)
        seen.push_back(FrameAt(sprite, t));
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 0, 1, 1, 2, 2, 3, 3, 0, 0, 0, 0}));
    EXPECT_EQ(sprite->Animating, 0);
}

TEST_F(AnimationTest, PingPongShowsEachEndTwiceAndStopKeepsTheDirection) {
    TLayer::Create("layer");
    TSpriteRef sprite = Strip(3);
    sprite->Play(AnimPingPong);
    std::vector<int> seen;
    for (uint64_t step = 1; step <= 8; ++step)
        seen.push_back(FrameAt(sprite, step * 101));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 2, 1, 0, 0, 1, 2}));

    // Now heading back down from frame 2.
    EXPECT_EQ(FrameAt(sprite, 909), 2);
    EXPECT_EQ(sprite->FrameStep, -1);
    sprite->Stop(0);
    EXPECT_EQ(FrameAt(sprite, 5000), 2);
    sprite->Play(AnimPingPong);
    EXPECT_EQ(FrameAt(sprite, 5101), 1);
    sprite->Stop(1);
    EXPECT_EQ(sprite->Frame, 0);
    EXPECT_EQ(sprite->FrameStep, 1);
}

TEST_F(AnimationTest, AtMostOneFramePerDrawAndHiddenSpritesAreFrozen) {
    TLayerRef layer = TLayer::Create("layer");
    TSpriteRef sprite = Strip(10);
    sprite->Play(AnimLoop);
    EXPECT_EQ(FrameAt(sprite, 1000), 1); // ten delays overdue, one frame
    EXPECT_EQ(FrameAt(sprite, 1000), 2); // the overdue time comes back one frame per draw
    sprite->Hide();
    FrameAt(sprite, 5000);
    EXPECT_EQ(sprite->Frame, 2);
    sprite->Show();
    layer->DrawRoutine = "OTHER"; // a layer with a routine does not draw (or animate) its sprites
    FrameAt(sprite, 6000);
    EXPECT_EQ(sprite->Frame, 2);
    layer->DrawRoutine = "NULL";
    EXPECT_EQ(FrameAt(sprite, 6000), 3);
}

TEST_F(AnimationTest, TheClockWrappingDoesNotStallAnimation) {
    TLayer::Create("layer");
    TSpriteRef sprite = Strip(3);
    HeadlessSetClock(0xFFFFFFF0u);
    sprite->Play(AnimLoop);
    EXPECT_EQ(FrameAt(sprite, 0x100000000ull + 200), 1);
}

using TextTest = SceneFixture;

TEST_F(TextTest, LabelsLiveInTheTextLayerAndDrawBlackText) {
    TLayerRef other = TLayer::Create("other");
    TLayerRef text = TLayer::Create("text");
    other->MakeCurrent();
    TTextSpriteRef label = TTextSprite::CreateText("Hello");
    EXPECT_EQ(CurrentLayer, text);
    EXPECT_EQ(label->Layer, nullptr);
    ASSERT_EQ(text->Sprites.size(), 1u);
    EXPECT_EQ(text->Sprites.front(), label);
    ASSERT_EQ(TextSpriteList.size(), 1u);
    label->SetPosition(10.5f, 20.25f);

    canvas->draw.r = 12; // whatever was set before, text is black and white comes back
    TLayer::RenderAll();
    const auto texts = Calls(TDrawKind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Hello");
    EXPECT_FLOAT_EQ(texts[0].x, 10.5f);
    EXPECT_FLOAT_EQ(texts[0].y, 20.25f);
    EXPECT_EQ(texts[0].state.r + texts[0].state.g + texts[0].state.b, 0);
    EXPECT_EQ(canvas->draw.r, 255);
    EXPECT_EQ(canvas->draw.g, 255);

    label->Remove();
    EXPECT_TRUE(TextSpriteList.empty());
    EXPECT_EQ(label->Text, "");
    EXPECT_TRUE(text->Sprites.empty()); // off its layer too, so that removed labels do not pile up
    HeadlessClearDrawCalls();
    TLayer::RenderAll();
    EXPECT_TRUE(Calls(TDrawKind::Text).empty());
}

TEST_F(TextTest, BacksAreStretchedAroundTheTextUnderneathIt) {
    TLayer::Create("textback")->DrawRoutine = "TEXT";
    TLayer::Create("text");
    CustomLayerHook = [](const std::string& name) {
        if (name == "TEXT") TTextSprite::DrawBacks();
    };
    TextBackImage = CreateImage(100, 20);
    TTextSpriteRef label = TTextSprite::CreateText("Hello there");
    label->SetPosition(100.7f, 50.2f);
    TTextSpriteRef hidden = TTextSprite::CreateText("hidden");
    hidden->Hide();

    TLayer::RenderAll();
    const float w = static_cast<float>(TextWidth("Hello there") + 10);
    const float h = static_cast<float>(TextHeight() + 5);
    std::vector<TDrawCall> drawn;
    for (const TDrawCall& call : HeadlessDrawCalls()) {
        if (call.kind == TDrawKind::Image || call.kind == TDrawKind::Text) drawn.push_back(call);
    }
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].kind, TDrawKind::Image);
    EXPECT_EQ(drawn[0].image, TextBackImage);
    EXPECT_FLOAT_EQ(drawn[0].x, 95.0f);
    EXPECT_FLOAT_EQ(drawn[0].y, 48.0f);
    EXPECT_FLOAT_EQ(drawn[0].state.scaleX, w / 100.0f);
    EXPECT_FLOAT_EQ(drawn[0].state.scaleY, h / 20.0f);
    EXPECT_EQ(drawn[1].kind, TDrawKind::Text);
    EXPECT_FLOAT_EQ(canvas->draw.scaleX, 1.0f);
    EXPECT_FLOAT_EQ(canvas->draw.scaleY, 1.0f);
}

TEST_F(TextTest, TheBackImageIsLoadedOnceByTheFirstLabel) {
    media->Picture("textback.png", 100, 20);
    TLayer::Create("text");
    TTextSprite::CreateText("one");
    const TImage first = TextBackImage;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ImageWidth(first), 100);
    TTextSprite::CreateText("two");
    EXPECT_EQ(TextBackImage, first);
}

TEST_F(TextTest, AMissingCanvasFontFallsBackToTheDefault) {
    canvas->draw.font = LoadFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 20);
    ASSERT_NE(canvas->draw.font, nullptr);
    TTextSprite::SetupFont();
    EXPECT_EQ(TextFont, nullptr);
    EXPECT_EQ(canvas->draw.font, nullptr);
    EXPECT_GT(TextHeight(), 0);
}
