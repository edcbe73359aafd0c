// Frames kept as draw calls on the headless backend: a frame that would look like the one on screen is
// neither drawn nor presented, and anything that might make it look different is.

#include "platform/FrameCover.hpp"
#include "platform/GadgetRecord.hpp"
#include "platform/ImageData.hpp"
#include "platform/headless/Headless.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

TImage Opaque(int w, int h, int flags = -1) {
    TImage image = CreateImage(w, h, 1, flags);
    std::fill(image->pixels[0].begin(), image->pixels[0].end(), 255);
    return image;
}

class FrameRecordTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HeadlessReset();
        SetSkipUnchangedFrames(true);
        canvas = AddCanvas(0, 0, 200, 100, nullptr);
        SetDrawTarget(canvas);
    }
    void TearDown() override {
        SetSkipUnchangedFrames(true);
        HeadlessReset();
    }

    // One frame: a backdrop covering the canvas, then whatever the test puts over it. True when presented.
    bool Frame(const std::function<void()>& over = [] {}) {
        HeadlessClearDrawCalls();
        BeginFrame();
        SetBlend(BlendAlpha);
        DrawImage(backdrop, 0, 0);
        over();
        const int before = canvas->framesPresented;
        Present();
        const bool presented = canvas->framesPresented > before;
        EXPECT_EQ(presented, !HeadlessDrawCalls().empty());
        return presented;
    }

    TGadget canvas = nullptr;
    TImage backdrop = Opaque(200, 100);
    TImage sprite = CreateImage(10, 10, 2);
};

TEST_F(FrameRecordTest, AFrameLikeTheOneOnScreenIsNeitherDrawnNorPresented) {
    const auto scene = [&] {
        SetColor(200, 100, 50);
        DrawImage(sprite, 5, 6, 1);
        SetColor(255, 255, 255);
        DrawText("Week 3", 20, 30);
    };
    EXPECT_TRUE(Frame(scene));
    EXPECT_FALSE(Frame(scene));
    EXPECT_FALSE(Frame(scene));
    // Drawn at last, the whole frame goes to the backend in order, then the present.
    EXPECT_TRUE(Frame([&] {
        scene();
        DrawRect(1, 2, 3, 4);
    }));
    const auto& calls = HeadlessDrawCalls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].image, backdrop);
    EXPECT_EQ(calls[1].image, sprite);
    EXPECT_EQ(calls[1].state.r, 200);
    EXPECT_EQ(calls[2].text, "Week 3");
    EXPECT_EQ(calls[3].kind, TDrawKind::Rect);
    EXPECT_EQ(calls[4].kind, TDrawKind::Present);
}

TEST_F(FrameRecordTest, AnythingThatChangesTheLookDrawsTheFrame) {
    const TImage other = CreateImage(10, 10, 2);
    const TFont font = LoadFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12);
    ASSERT_NE(font, nullptr);
    struct TCase {
        const char* what;
        std::function<void()> draw;
    };
    const std::vector<TCase> cases = {
        {"moved", [&] { DrawImage(sprite, 6, 6, 0); }},
        {"moved a fraction", [&] { DrawImage(sprite, 6.5f, 6, 0); }},
        {"another frame", [&] { DrawImage(sprite, 6.5f, 6, 1); }},
        {"another image", [&] { DrawImage(other, 6.5f, 6, 1); }},
        {"tinted",
         [&] {
             SetColor(1, 2, 3);
             DrawImage(other, 6.5f, 6, 1);
             SetColor(255, 255, 255);
         }},
        {"scaled",
         [&] {
             SetScale(2, 1);
             DrawImage(other, 6.5f, 6, 1);
             SetScale(1, 1);
         }},
        {"blended otherwise",
         [&] {
             SetBlend(BlendLight);
             DrawImage(other, 6.5f, 6, 1);
         }},
        {"shown",
         [&] {
             DrawImage(other, 6.5f, 6, 1);
             DrawText("Gym", 3, 4);
         }},
        {"retext",
         [&] {
             DrawImage(other, 6.5f, 6, 1);
             DrawText("Gum", 3, 4);
         }},
        {"other font",
         [&] {
             SetFont(font);
             DrawImage(other, 6.5f, 6, 1);
             DrawText("Gum", 3, 4);
             SetFont(nullptr);
         }},
        {"hidden", [&] { DrawImage(other, 6.5f, 6, 1); }},
        {"a line's last pixel",
         [&] {
             DrawImage(other, 6.5f, 6, 1);
             DrawLine(0, 0, 5, 5, 0);
         }},
        {"the line's whole",
         [&] {
             DrawImage(other, 6.5f, 6, 1);
             DrawLine(0, 0, 5, 5, 1);
         }},
        {"an oval instead",
         [&] {
             DrawImage(other, 6.5f, 6, 1);
             DrawOval(0, 0, 5, 5);
         }},
        {"nothing over the backdrop", [] {}},
    };
    for (const TCase& change : cases) {
        EXPECT_TRUE(Frame(change.draw)) << change.what;
        EXPECT_FALSE(Frame(change.draw)) << change.what << ", drawn again";
    }
}

TEST_F(FrameRecordTest, NewPixelsInAnImageOrAnotherCanvasSizeDrawTheFrame) {
    const TImage grabbed = CreateImage(10, 10);
    const auto scene = [&] { DrawImage(grabbed, 5, 5); };
    Frame(scene);
    EXPECT_FALSE(Frame(scene));
    GrabImage(grabbed, 0, 0);
    EXPECT_TRUE(Frame(scene)) << "the image holds a new picture";
    EXPECT_FALSE(Frame(scene));
    SetBounds(canvas, 0, 0, 100, 100);
    EXPECT_TRUE(Frame(scene)) << "resized";
    EXPECT_FALSE(Frame(scene));
}

TEST_F(FrameRecordTest, DrawingBetweenFramesMakesTheNextOneDrawn) {
    Frame();
    EXPECT_FALSE(Frame());
    // What a level start does to build its week ticks: a clear and ovals in the back buffer.
    ClearTarget();
    DrawOval(1, 1, 4, 4);
    EXPECT_TRUE(Frame());
    EXPECT_FALSE(Frame());
    // A frame begun again before it was shown was drawn all the same.
    BeginFrame();
    DrawRect(0, 0, 10, 10);
    EXPECT_TRUE(Frame());
    EXPECT_FALSE(Frame());
}

TEST_F(FrameRecordTest, AGrabInsideAFrameReadsWhatTheFrameDrewBeforeIt) {
    const TImage grabbed = CreateImage(10, 10);
    Frame();
    HeadlessClearDrawCalls();
    BeginFrame();
    DrawImage(backdrop, 0, 0);
    DrawRect(0, 0, 5, 5);
    GrabImage(grabbed, 0, 0);
    DrawText("after", 0, 0);
    Present();
    std::vector<TDrawKind> kinds;
    for (const TDrawCall& call : HeadlessDrawCalls())
        kinds.push_back(call.kind);
    EXPECT_EQ(kinds, (std::vector<TDrawKind>{TDrawKind::Image, TDrawKind::Rect, TDrawKind::Grab,
                                             TDrawKind::Text, TDrawKind::Present}));
}

TEST_F(FrameRecordTest, AFrameThatLeavesPixelsAsTheyWereIsAlwaysDrawn) {
    // Drawn over itself, a half-transparent picture darkens what it left the tick before.
    const auto scene = [&] {
        BeginFrame();
        DrawImage(sprite, 0, 0);
    };
    for (int i = 0; i < 3; ++i) {
        HeadlessClearDrawCalls();
        scene();
        Present();
        EXPECT_EQ(HeadlessDrawCalls().size(), 2u) << "frame " << i;
    }
}

TEST_F(FrameRecordTest, WithoutSkippingEveryFrameIsDrawnAndPresented) {
    SetSkipUnchangedFrames(false);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Frame()) << "frame " << i;
}

// The covering test on its own: only what surely replaces every pixel counts.
class FrameCoverTest : public ::testing::Test {
  protected:
    static TFrameCall Image(const TImage& image, float x, float y, int blend = BlendAlpha, float scale = 1) {
        TFrameCall call;
        call.op = TFrameOp::Image;
        call.image = image;
        call.x = x;
        call.y = y;
        call.state.blend = blend;
        call.state.scaleX = call.state.scaleY = scale;
        return call;
    }
    static TFrameCall Rect(float x, float y, float w, float h, int blend = BlendAlpha) {
        TFrameCall call;
        call.op = TFrameOp::Rect;
        call.x = x;
        call.y = y;
        call.w = w;
        call.h = h;
        call.state.blend = blend;
        return call;
    }
    // The canvas tiled with the image from (x, y), two tiles across and two down.
    static std::vector<TFrameCall> Tiled(const TImage& image, float x, float y) {
        std::vector<TFrameCall> calls;
        for (int i = 0; i < 2; ++i) {
            for (int j = 0; j < 2; ++j)
                calls.push_back(Image(image, x + 60.0f * i, y + 40.0f * j));
        }
        return calls;
    }
};

TEST_F(FrameCoverTest, TilesAndRectanglesCoverWhenTheyLeaveNoPixel) {
    const TImage tile = Opaque(60, 40);
    EXPECT_TRUE(PaintsEveryPixel(Tiled(tile, 0, 0), 120, 80));
    EXPECT_TRUE(PaintsEveryPixel(Tiled(tile, -10, -5), 110, 75));
    EXPECT_FALSE(PaintsEveryPixel(Tiled(tile, 1, 0), 120, 80)) << "a column left bare";
    EXPECT_FALSE(PaintsEveryPixel(Tiled(tile, 0, 0), 121, 80));
    std::vector<TFrameCall> gap = Tiled(tile, 0, 0);
    gap[3].y += 1;
    EXPECT_FALSE(PaintsEveryPixel(gap, 120, 80)) << "one row of one tile left bare";
    gap.push_back(Rect(60, 40, 60, 1));
    EXPECT_TRUE(PaintsEveryPixel(gap, 120, 80)) << "a rectangle fills the row";

    TFrameCall clear;
    EXPECT_TRUE(PaintsEveryPixel({Image(tile, 5, 5, BlendLight), clear}, 120, 80));
    EXPECT_TRUE(PaintsEveryPixel({Rect(-0.5f, 0, 121, 80)}, 120, 80));
    EXPECT_FALSE(PaintsEveryPixel({Rect(0.5f, 0, 120, 80)}, 120, 80)) << "the first column only half";
    EXPECT_FALSE(PaintsEveryPixel({Rect(0, 0, 120, 80, BlendLight)}, 120, 80));
    EXPECT_FALSE(PaintsEveryPixel({}, 120, 80));
}

TEST_F(FrameCoverTest, AnImageCoversOnlyOpaqueUnscaledAtWholePixelsOrSolid) {
    const TImage opaque = Opaque(120, 80);
    EXPECT_TRUE(PaintsEveryPixel({Image(opaque, 0, 0)}, 120, 80));
    EXPECT_TRUE(PaintsEveryPixel({Image(opaque, 0, 0, BlendMasked)}, 120, 80));
    EXPECT_FALSE(PaintsEveryPixel({Image(opaque, 0, 0, BlendShade)}, 120, 80));
    EXPECT_FALSE(PaintsEveryPixel({Image(opaque, 0.5f, 0)}, 120, 80));
    EXPECT_FALSE(PaintsEveryPixel({Image(opaque, 0, 0, BlendAlpha, 2)}, 120, 80));

    const TImage masked = Opaque(120, 80);
    masked->pixels[0][400] = masked->pixels[0][401] = masked->pixels[0][402] = 0;
    masked->ApplyMask(0);
    EXPECT_FALSE(PaintsEveryPixel({Image(masked, 0, 0)}, 120, 80)) << "one black pixel is a hole";
    EXPECT_TRUE(PaintsEveryPixel({Image(masked, 0, 0, BlendSolid)}, 120, 80)) << "solid ignores alpha";
    EXPECT_TRUE(PaintsEveryPixel({Image(Opaque(120, 80, 0), 0, 0)}, 120, 80)) << "unmasked black stays";
}

} // namespace
