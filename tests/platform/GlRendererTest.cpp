// The OpenGL renderer through the platform's own calls: draw into a real canvas, read the back buffer
// back with GrabImage, and compare pixels (within 2 per channel where blending rounds).

#include "platform/FontData.hpp"
#include "platform/ImageData.hpp"
#include "platform/Platform.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Width = 160;
constexpr int Height = 120;

struct TRgb {
    int r, g, b;
};

struct TRgba {
    uint8_t r, g, b, a;
};

// A picture of the whole canvas as GrabImage reads it.
class TShot {
  public:
    TShot() : image(CreateImage(Width, Height, 1, 0)) { GrabImage(image, 0, 0, 0); }
    TRgb At(int x, int y) const {
        const uint8_t* p = image->pixels[0].data() + 4 * (y * Width + x);
        return {p[0], p[1], p[2]};
    }

  private:
    TImage image;
};

::testing::AssertionResult Near(const TRgb& actual, const TRgb& expected, int tolerance = 2) {
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual.r << ", " << actual.g << ", " << actual.b << ") instead of (" << expected.r
           << ", " << expected.g << ", " << expected.b << ")";
}

const TRgb Black{0, 0, 0};

// An image of one frame or more built in memory, pixels given frame by frame, row by row.
TImage MakeImage(int w, int h, const std::vector<std::vector<TRgba>>& frames, int flags) {
    TImage image = CreateImage(w, h, static_cast<int>(frames.size()), flags);
    for (size_t f = 0; f < frames.size(); ++f) {
        for (size_t i = 0; i < frames[f].size(); ++i) {
            const TRgba& p = frames[f][i];
            image->pixels[f][4 * i] = p.r;
            image->pixels[f][4 * i + 1] = p.g;
            image->pixels[f][4 * i + 2] = p.b;
            image->pixels[f][4 * i + 3] = p.a;
        }
        image->ApplyMask(static_cast<int>(f));
    }
    image->dirty = true;
    return image;
}

class Renderer : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        window = OpenWindow("renderer", 0, 0, Width, Height, nullptr, 41);
        canvas = AddCanvas(0, 0, Width, Height, window);
    }
    void SetUp() override {
        SetDrawTarget(canvas);
        SetBlend(BlendSolid);
        SetColor(255, 255, 255);
        SetScale(1, 1);
        SetFont(nullptr);
        ClearTarget();
    }
    // A grey field to blend onto.
    static void Background(int grey, float x, float y, float w, float h) {
        SetBlend(BlendSolid);
        SetColor(grey, grey, grey);
        DrawRect(x, y, w, h);
        SetColor(255, 255, 255);
    }

    static TGadget window;
    static TGadget canvas;
};

TGadget Renderer::window = nullptr;
TGadget Renderer::canvas = nullptr;

TEST_F(Renderer, ClearFillsBlackAndTheFirstTargetStartsBlack) {
    EXPECT_TRUE(Near(TShot().At(80, 60), Black));
    SetColor(200, 10, 10);
    DrawRect(0, 0, Width, Height);
    EXPECT_TRUE(Near(TShot().At(80, 60), {200, 10, 10}));
    ClearTarget();
    const TShot shot;
    for (int y = 0; y < Height; y += 7)
        for (int x = 0; x < Width; x += 7)
            ASSERT_TRUE(Near(shot.At(x, y), Black)) << x << "," << y;
}

TEST_F(Renderer, ImagesLandPixelForPixelWhetherFilteredOrNot) {
    std::vector<TRgba> pixels;
    for (int i = 0; i < 12; ++i)
        pixels.push_back({uint8_t(20 * i + 10), uint8_t(250 - 20 * i), uint8_t(i * 7), 255});
    for (int flags : {0, int{ImageFiltered}, ImageFiltered | ImageMipmapped}) {
        ClearTarget();
        const TImage image = MakeImage(4, 3, {pixels}, flags);
        DrawImage(image, 10, 5, 0);
        const TShot shot;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const TRgba& p = pixels[static_cast<size_t>(y * 4 + x)];
                EXPECT_TRUE(Near(shot.At(10 + x, 5 + y), {p.r, p.g, p.b}, 1))
                    << flags << ": " << x << "," << y;
            }
        // Nothing spills around it.
        for (int x = 9; x <= 14; ++x) {
            EXPECT_TRUE(Near(shot.At(x, 4), Black));
            EXPECT_TRUE(Near(shot.At(x, 8), Black));
        }
        EXPECT_TRUE(Near(shot.At(9, 6), Black));
        EXPECT_TRUE(Near(shot.At(14, 6), Black));
    }
}

TEST_F(Renderer, FramesAreChosenAndUploadedAgainWhenDirty) {
    const TImage image =
        MakeImage(2, 2,
                  {std::vector<TRgba>(4, {255, 0, 0, 255}), std::vector<TRgba>(4, {0, 255, 0, 255}),
                   std::vector<TRgba>(4, {0, 0, 255, 255})},
                  0);
    DrawImage(image, 0, 0, 2);
    DrawImage(image, 4, 0, 0);
    TShot shot;
    EXPECT_TRUE(Near(shot.At(1, 1), {0, 0, 255}));
    EXPECT_TRUE(Near(shot.At(5, 1), {255, 0, 0}));
    // New pixels without the dirty mark are not seen; with it they are.
    for (size_t i = 0; i < 16; i += 4)
        image->pixels[2][i + 1] = 200;
    DrawImage(image, 0, 0, 2);
    EXPECT_TRUE(Near(TShot().At(1, 1), {0, 0, 255}));
    image->dirty = true;
    DrawImage(image, 0, 0, 2);
    EXPECT_TRUE(Near(TShot().At(1, 1), {0, 200, 255}));
}

TEST_F(Renderer, TintMultipliesImagesAndColoursPrimitives) {
    const TImage image = MakeImage(2, 2, {std::vector<TRgba>(4, {100, 200, 250, 255})}, 0);
    SetColor(128, 255, 64);
    DrawImage(image, 0, 0, 0);
    SetColor(255, 255, 255);
    DrawImage(image, 4, 0, 0);
    const TShot shot;
    EXPECT_TRUE(Near(shot.At(1, 1), {50, 200, 63}));
    EXPECT_TRUE(Near(shot.At(5, 1), {100, 200, 250}));
}

// One row of four source pixels, all of colour (200, 50, 0), with alphas 0, 100, 140 and 255, drawn in
// each blend mode over a grey of 100.
TEST_F(Renderer, EachBlendModeMeetsTheBufferAsDescribed) {
    const std::vector<TRgba> row = {{200, 50, 0, 0}, {200, 50, 0, 100}, {200, 50, 0, 140}, {200, 50, 0, 255}};
    const TImage image = MakeImage(4, 1, {row}, 0);
    struct TCase {
        int mode;
        TRgb expected[4];
    };
    const auto blendOver = [](double a, double src, double dst) {
        return static_cast<int>(src * a + dst * (1 - a) + 0.5);
    };
    const auto shadeOver = [](double a, double src, double dst) {
        return static_cast<int>(dst * (1 - a + a * src / 255) + 0.5);
    };
    const auto lightOver = [](double a, double src, double dst) {
        return std::min(255, static_cast<int>(dst + src * a + 0.5));
    };
    const TCase cases[] = {
        {BlendMasked, {{100, 100, 100}, {100, 100, 100}, {200, 50, 0}, {200, 50, 0}}},
        {BlendSolid, {{200, 50, 0}, {200, 50, 0}, {200, 50, 0}, {200, 50, 0}}},
        {BlendAlpha,
         {{100, 100, 100},
          {blendOver(100 / 255.0, 200, 100), blendOver(100 / 255.0, 50, 100), blendOver(100 / 255.0, 0, 100)},
          {blendOver(140 / 255.0, 200, 100), blendOver(140 / 255.0, 50, 100), blendOver(140 / 255.0, 0, 100)},
          {200, 50, 0}}},
        {BlendLight,
         {{100, 100, 100},
          {lightOver(100 / 255.0, 200, 100), lightOver(100 / 255.0, 50, 100), 100},
          {lightOver(140 / 255.0, 200, 100), lightOver(140 / 255.0, 50, 100), 100},
          {255, 150, 100}}},
        // Opaque pixels multiply the buffer by their colour; a transparent one leaves it alone.
        {BlendShade,
         {{100, 100, 100},
          {shadeOver(100 / 255.0, 200, 100), shadeOver(100 / 255.0, 50, 100), shadeOver(100 / 255.0, 0, 100)},
          {shadeOver(140 / 255.0, 200, 100), shadeOver(140 / 255.0, 50, 100), shadeOver(140 / 255.0, 0, 100)},
          {78, 20, 0}}},
    };
    for (const TCase& c : cases) {
        Background(100, 0, 0, 20, 4);
        SetBlend(c.mode);
        DrawImage(image, 2, 1, 0);
        const TShot shot;
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(Near(shot.At(2 + i, 1), c.expected[i])) << "mode " << c.mode << " pixel " << i;
    }
    // Primitives blend with the same modes: a light rectangle adds its colour.
    Background(100, 0, 10, 10, 10);
    SetBlend(BlendLight);
    SetColor(20, 200, 0);
    DrawRect(0, 10, 10, 10);
    EXPECT_TRUE(Near(TShot().At(5, 15), {120, 255, 100}));
}

TEST_F(Renderer, MaskedBlackOfALoadedImageIsTransparent) {
    // A 24-bit BMP, 2 x 1: pure black, then a blue of 1, which is not the mask colour.
    const std::vector<uint8_t> bmp = {'B', 'M', 62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0,
                                      0,   1,   0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0, 8, 0,  0, 0, 0, 0, 0, 0,
                                      0,   0,   0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 0, 0, 0,  1, 0, 0, 0, 0};
    const std::string path = "/tmp/gorum-renderer-mask.bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());
    const TImage masked = LoadImage(path, -1);
    const TImage plain = LoadImage(path, 0);
    std::remove(path.c_str());
    ASSERT_NE(masked, nullptr);
    ASSERT_NE(plain, nullptr);
    for (int mode : {BlendMasked, BlendAlpha}) {
        Background(90, 0, 0, 10, 10);
        SetBlend(mode);
        DrawImage(masked, 1, 1, 0);
        DrawImage(plain, 1, 3, 0);
        const TShot shot;
        EXPECT_TRUE(Near(shot.At(1, 1), {90, 90, 90}, 0)) << mode;
        EXPECT_TRUE(Near(shot.At(2, 1), {0, 0, 1}, 0)) << mode;
        EXPECT_TRUE(Near(shot.At(1, 3), Black, 0)) << mode;
    }
}

TEST_F(Renderer, ScaleStretchesFromTheTopLeftCorner) {
    const TImage image =
        MakeImage(2, 2, {{{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 0, 255}}}, 0);
    SetScale(3, 2);
    DrawImage(image, 20, 20, 0);
    SetScale(1, 1);
    DrawImage(image, 40, 20, 0);
    const TShot shot;
    const TRgb colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_TRUE(Near(shot.At(20 + x, 20 + y), colours[(y / 2) * 2 + x / 3])) << x << "," << y;
    EXPECT_TRUE(Near(shot.At(26, 20), Black));
    EXPECT_TRUE(Near(shot.At(20, 24), Black));
    EXPECT_TRUE(Near(shot.At(19, 19), Black));
    EXPECT_TRUE(Near(shot.At(41, 21), {255, 255, 0}));
    EXPECT_TRUE(Near(shot.At(42, 21), Black));
}

TEST_F(Renderer, RectanglesAndLinesCoverExactlyTheirPixels) {
    SetColor(255, 255, 255);
    DrawRect(5, 6, 4, 3);
    DrawLine(10, 20, 30, 20, 1);
    DrawLine(50, 10, 50, 15, 1);
    DrawLine(60, 10, 65, 15, 1);
    DrawLine(70, 10, 75, 10, 0);
    const TShot shot;
    const TRgb white{255, 255, 255};
    for (int y = 5; y <= 9; ++y)
        for (int x = 4; x <= 9; ++x)
            EXPECT_TRUE(Near(shot.At(x, y), x >= 5 && x <= 8 && y >= 6 && y <= 8 ? white : Black))
                << x << "," << y;
    for (int x = 8; x <= 32; ++x) {
        EXPECT_TRUE(Near(shot.At(x, 20), x >= 10 && x <= 30 ? white : Black)) << x;
        EXPECT_TRUE(Near(shot.At(x, 19), Black));
        EXPECT_TRUE(Near(shot.At(x, 21), Black));
    }
    for (int y = 9; y <= 16; ++y)
        EXPECT_TRUE(Near(shot.At(50, y), y >= 10 && y <= 15 ? white : Black)) << y;
    for (int i = 0; i <= 5; ++i)
        EXPECT_TRUE(Near(shot.At(60 + i, 10 + i), white)) << i;
    EXPECT_TRUE(Near(shot.At(61, 10), Black));
    EXPECT_TRUE(Near(shot.At(66, 16), Black));
    // Without the last pixel the line stops one short.
    EXPECT_TRUE(Near(shot.At(74, 10), white));
    EXPECT_TRUE(Near(shot.At(75, 10), Black));
}

TEST_F(Renderer, LinesFarOffTheCanvasAreCutNotWalked) {
    SetColor(255, 255, 255);
    DrawLine(-1e9f, 50, 1e9f, 50, 1);
    DrawLine(100, -3e8f, 100, 3e8f, 1);
    DrawLine(NAN, 0, 10, 10, 1);
    DrawLine(-50, -50, -10, -10, 1);
    const TShot shot;
    for (int x = 0; x < Width; ++x)
        ASSERT_TRUE(Near(shot.At(x, 50), {255, 255, 255})) << x;
    for (int y = 0; y < Height; ++y)
        ASSERT_TRUE(Near(shot.At(100, y), {255, 255, 255})) << y;
    EXPECT_TRUE(Near(shot.At(0, 49), Black));
    EXPECT_TRUE(Near(shot.At(0, 0), Black));
    EXPECT_TRUE(Near(shot.At(5, 5), Black));
    // A cut line still runs along its own path: a diagonal entering at the corner.
    ClearTarget();
    DrawLine(-1000, -1000, 20, 20, 1);
    const TShot diagonal;
    for (int i = 0; i <= 20; ++i)
        EXPECT_TRUE(Near(diagonal.At(i, i), {255, 255, 255})) << i;
    EXPECT_TRUE(Near(diagonal.At(21, 21), Black));
    EXPECT_TRUE(Near(diagonal.At(1, 0), Black));
}

TEST_F(Renderer, OvalsFillTheEllipseInsideTheirBox) {
    SetColor(0, 255, 0);
    DrawOval(40, 40, 21, 11);
    const TShot shot;
    const TRgb green{0, 255, 0};
    EXPECT_TRUE(Near(shot.At(50, 45), green));
    EXPECT_TRUE(Near(shot.At(40, 45), green));
    EXPECT_TRUE(Near(shot.At(60, 45), green));
    EXPECT_TRUE(Near(shot.At(50, 40), green));
    EXPECT_TRUE(Near(shot.At(50, 50), green));
    // Corners of the box lie outside the ellipse, and nothing reaches beyond the box.
    for (auto [x, y] : {std::pair{40, 40}, {60, 40}, {40, 50}, {60, 50}, {42, 41}})
        EXPECT_TRUE(Near(shot.At(x, y), Black)) << x << "," << y;
    for (int y = 38; y <= 52; ++y) {
        EXPECT_TRUE(Near(shot.At(39, y), Black));
        EXPECT_TRUE(Near(shot.At(61, y), Black));
    }
    for (int x = 38; x <= 62; ++x) {
        EXPECT_TRUE(Near(shot.At(x, 39), Black));
        EXPECT_TRUE(Near(shot.At(x, 51), Black));
    }
}

TEST_F(Renderer, TextIsSmoothedColouredAndPlacedFromItsTopLeft) {
    SetBlend(BlendAlpha);
    SetColor(255, 0, 0);
    DrawText("Gorum", 10, 10);
    const int width = TextWidth("Gorum");
    const int height = TextHeight();
    const TShot shot;
    int full = 0;
    int grey = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const TRgb p = shot.At(x, y);
            if (p.r == 0) continue;
            EXPECT_EQ(p.g, 0);
            EXPECT_EQ(p.b, 0);
            EXPECT_GE(x, 10);
            EXPECT_LT(x, 10 + width + 2);
            EXPECT_GE(y, 10);
            EXPECT_LT(y, 10 + height);
            full += p.r >= 253;
            grey += p.r > 2 && p.r < 253;
        }
    EXPECT_GT(full, 10);
    EXPECT_GT(grey, 10);

    // In the copying modes text still blends by coverage: no boxes around the glyphs.
    ClearTarget();
    SetBlend(BlendSolid);
    SetColor(255, 255, 255);
    DrawText("o", 30, 30);
    const TShot solid;
    int lit = 0;
    for (int y = 30; y < 30 + height; ++y)
        for (int x = 30; x < 30 + TextWidth("o"); ++x)
            lit += solid.At(x, y).r > 0;
    EXPECT_GT(lit, 5);
    EXPECT_LT(lit, TextWidth("o") * height / 2);

    // Text at no number, or absurdly far away, is simply not drawn.
    ClearTarget();
    DrawText("Gorum", NAN, 10);
    DrawText("Gorum", -3e9f, 10);
    DrawText("Gorum", 0, 3e9f);
    const TShot none;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            ASSERT_TRUE(Near(none.At(x, y), Black)) << x << "," << y;
}

TEST_F(Renderer, LargerFontsCoverMore) {
    const TFont large = LoadFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 40, FontSmoothed);
    ASSERT_NE(large, nullptr);
    const auto lit = [] {
        const TShot shot;
        int count = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                count += shot.At(x, y).r > 128;
        return count;
    };
    SetBlend(BlendAlpha);
    DrawText("Go", 0, 0);
    const int small = lit();
    ASSERT_GT(small, 0);
    ClearTarget();
    SetFont(large);
    DrawText("Go", 0, 0);
    EXPECT_GT(lit(), small * 4);
}

TEST_F(Renderer, GrabCopiesAnAreaIntoAFrameAndMasksIt) {
    SetColor(10, 20, 30);
    DrawRect(30, 30, 2, 2);
    SetColor(0, 0, 0);
    DrawRect(32, 30, 2, 2);
    const TImage grabbed = CreateImage(4, 2, 2, -1);
    GrabImage(grabbed, 30, 30, 1);
    EXPECT_TRUE(grabbed->dirty);
    const uint8_t* p = grabbed->pixels[1].data();
    EXPECT_EQ(p[0], 10);
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 30);
    EXPECT_EQ(p[3], 255);
    EXPECT_EQ(p[4 * 2 + 3], 0); // black, and the image is masked
    for (uint8_t byte : grabbed->pixels[0])
        EXPECT_EQ(byte, 0);

    // Drawing the grab elsewhere repeats the picture; its black part lets the background through.
    Background(77, 60, 60, 10, 10);
    SetBlend(BlendAlpha);
    DrawImage(grabbed, 60, 60, 1);
    const TShot shot;
    EXPECT_TRUE(Near(shot.At(61, 61), {10, 20, 30}));
    EXPECT_TRUE(Near(shot.At(62, 61), {77, 77, 77}));

    // An area partly off the canvas keeps the off part empty.
    const TImage edge = CreateImage(4, 4, 1, 0);
    GrabImage(edge, Width - 2, -2, 0);
    const uint8_t* q = edge->pixels[0].data();
    EXPECT_EQ(q[3], 0);                     // (Width - 2, -2): above the canvas
    EXPECT_EQ(q[4 * (2 * 4 + 0) + 3], 255); // (Width - 2, 0): on it
    EXPECT_EQ(q[4 * (2 * 4 + 3) + 3], 0);   // (Width + 1, 0): right of it
}

TEST_F(Renderer, PresentedPicturesDoNotDisturbLaterDrawing) {
    SetColor(0, 0, 255);
    DrawRect(0, 0, 10, 10);
    Present();
    SetColor(255, 0, 0);
    DrawRect(5, 5, 10, 10);
    const TShot shot;
    EXPECT_TRUE(Near(shot.At(2, 2), {0, 0, 255}));
    EXPECT_TRUE(Near(shot.At(7, 7), {255, 0, 0}));
}

} // namespace

// Draws with equal state go to GL together; what was drawn later must still lie on top.
TEST_F(Renderer, BatchedDrawsKeepTheirOrderAcrossImagesAndColours) {
    const TImage red = MakeImage(1, 1, {{{200, 0, 0, 255}}}, 0);
    const TImage blue = MakeImage(1, 1, {{{0, 0, 200, 255}}}, 0);
    SetBlend(BlendAlpha);
    SetScale(40, 40);
    DrawImage(red, 10, 10, 0);
    DrawImage(blue, 30, 30, 0); // overlaps the red square's corner
    DrawImage(red, 50, 50, 0);  // back to the first image: over the blue one
    SetScale(1, 1);
    SetColor(0, 200, 0);
    DrawRect(60, 60, 5, 5);
    SetColor(0, 0, 0);
    DrawRect(62, 62, 1, 1);
    const TShot shot;
    EXPECT_TRUE(Near(shot.At(15, 15), {200, 0, 0}));
    EXPECT_TRUE(Near(shot.At(35, 35), {0, 0, 200}));
    EXPECT_TRUE(Near(shot.At(55, 55), {200, 0, 0}));
    EXPECT_TRUE(Near(shot.At(61, 61), {0, 200, 0}));
    EXPECT_TRUE(Near(shot.At(62, 62), Black));
}

// A draw still waiting for GL when its image goes away, or its canvas, must neither crash nor lose the
// image's pixels from the picture.
TEST_F(Renderer, QueuedDrawsOutliveTheirImageAndTheirCanvas) {
    {
        const TImage gone = MakeImage(1, 1, {{{0, 180, 0, 255}}}, 0);
        SetScale(10, 10);
        DrawImage(gone, 0, 0, 0);
        SetScale(1, 1);
    }
    EXPECT_TRUE(Near(TShot().At(5, 5), {0, 180, 0}));

    TGadget other = OpenWindow("short-lived", 0, 0, 50, 50, nullptr, 41);
    TGadget shortLived = AddCanvas(0, 0, 50, 50, other);
    SetDrawTarget(shortLived);
    SetColor(255, 0, 0);
    DrawRect(0, 0, 50, 50);
    DestroyGadget(other);
    SetDrawTarget(canvas);
    DrawRect(100, 100, 2, 2);
    const TShot shot;
    EXPECT_TRUE(Near(shot.At(100, 100), {255, 255, 255}));
    EXPECT_TRUE(Near(shot.At(5, 5), {0, 180, 0}));
}
