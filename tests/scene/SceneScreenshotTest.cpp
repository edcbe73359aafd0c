// A composed scene drawn by the real OpenGL renderer and read back from the canvas's back buffer:
// tiled backdrop, sprites in several layers, a label over its stretched back, and the motivation meter.

#include "SceneSupport.hpp"

#include "platform/ImageData.hpp"

#include <algorithm>
#include <memory>

namespace {

struct TRgb {
    int r, g, b;
};

::testing::AssertionResult Near(const TRgb& actual, const TRgb& expected, int tolerance = 2) {
    if (std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
        std::abs(actual.b - expected.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.r << ", " << actual.g << ", " << actual.b << ") instead of (" << expected.r
           << ", " << expected.g << ", " << expected.b << ")";
}

// The whole canvas as GrabImage reads it back.
class TShot {
  public:
    TShot() : image(CreateImage(800, 600, 1, 0)) { GrabImage(image, 0, 0, 0); }
    TRgb At(int x, int y) const {
        const uint8_t* p = image->pixels[0].data() + 4 * (y * 800 + x);
        return {p[0], p[1], p[2]};
    }

  private:
    TImage image;
};

const TRgb Grass{30, 90, 30};
const TRgb Red{200, 20, 20};
const TRgb Blue{20, 20, 200};
const TRgb Paper{240, 230, 200};

} // namespace

class SceneScreenshot : public ::testing::Test {
  protected:
    void SetUp() override {
        media = std::make_unique<MediaDir>();
        ResetSceneState();
        MotivationValue = &motivation;
        window = OpenWindow("Scene", 0, 0, 800, 600, nullptr, 41);
        canvas = AddCanvas(0, 0, 800, 600, window);
        SetDrawTarget(canvas);
        SceneCanvas = canvas;
    }
    void TearDown() override {
        ResetSceneState();
        DestroyGadget(window);
        media.reset();
    }

    std::unique_ptr<MediaDir> media;
    float motivation = 50.0f;
    TGadget window = nullptr;
    TGadget canvas = nullptr;
};

TEST_F(SceneScreenshot, TheComposedSceneLandsPixelForPixel) {
    media->Picture("Grassy_BACK.jpg", 64, 48, Grass.r, Grass.g, Grass.b);
    media->Picture("station.png", 100, 100, Red.r, Red.g, Red.b);
    media->Picture("button.png", 100, 100, Blue.r, Blue.g, Blue.b);
    media->Picture("textback.png", 100, 20, Paper.r, Paper.g, Paper.b);

    TTextSprite::SetupFont();
    for (const char* tag : {"backdrop", "stations", "displays", "motivation", "textback", "text"}) {
        TLayer::Create(tag);
    }
    TLayer::Find("motivation")->DrawRoutine = "MOTIVATION";
    TLayer::Find("textback")->DrawRoutine = "TEXT";
    CustomLayerHook = [](const std::string& name) {
        if (name == "MOTIVATION") TMotivation::DrawMeter();
        if (name == "TEXT") TTextSprite::DrawBacks();
    };
    TBackdrop::Create("media/Grassy");
    TLayer::Select("displays");
    TSprite::Load("media/button.png")->SetPosition(150, 150);
    // Made later, but its layer lies below: the button covers it where they overlap.
    TLayer::Select("stations");
    TSprite::Load("media/station.png")->SetPosition(100, 100);
    TTextSpriteRef label = TTextSprite::CreateText("Gorum");
    label->SetPosition(400, 300);
    motivation = 50;

    TLayer::RenderAll();
    const TShot shot;

    EXPECT_TRUE(Near(shot.At(5, 5), Grass));
    EXPECT_TRUE(Near(shot.At(799, 599), Grass)); // the tiling reaches the far corner
    EXPECT_TRUE(Near(shot.At(700, 100), Grass));
    EXPECT_TRUE(Near(shot.At(110, 110), Red));
    EXPECT_TRUE(Near(shot.At(175, 175), Blue));
    EXPECT_TRUE(Near(shot.At(240, 240), Blue));
    EXPECT_TRUE(Near(shot.At(255, 255), Grass));

    // The back reaches 5 px left of the text and 2 px above it; the glyphs are black on it.
    const int textW = TextWidth("Gorum");
    const int textH = TextHeight();
    EXPECT_TRUE(Near(shot.At(396, 299), Paper));
    EXPECT_TRUE(Near(shot.At(400 + textW + 3, 300 + textH + 1), Paper));
    EXPECT_TRUE(Near(shot.At(393, 299), Grass));
    EXPECT_TRUE(Near(shot.At(400 + textW + 7, 300), Grass));
    int darkest = 255;
    for (int y = 300; y < 300 + textH; ++y) {
        for (int x = 400; x < 400 + textW; ++x) {
            const TRgb p = shot.At(x, y);
            darkest = std::min(darkest, std::max({p.r, p.g, p.b}));
        }
    }
    EXPECT_LT(darkest, 40);

    // Motivation 50: a bar of 80 px in (0, 127, 0) from x = 320.
    EXPECT_TRUE(Near(shot.At(321, 586), {0, 127, 0}));
    EXPECT_TRUE(Near(shot.At(399, 594), {0, 127, 0}));
    EXPECT_TRUE(Near(shot.At(401, 590), Grass));
    EXPECT_TRUE(Near(shot.At(350, 584), Grass));

    motivation = 100;
    TLayer::RenderAll();
    const TShot full;
    EXPECT_TRUE(Near(full.At(479, 590), {0, 255, 0}));
    EXPECT_TRUE(Near(full.At(481, 590), Grass));
    // The label is gone once removed; its back goes with it.
    label->Remove();
    TLayer::RenderAll();
    EXPECT_TRUE(Near(TShot().At(396, 299), Grass));
}
