// Every picture the game names must load through the real loaders with the size the game cuts it to,
// and every frame must show something: a missing, mis-sized or blank art file fails here.
#include "platform/ImageData.hpp"
#include "platform/Platform.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TStripCase {
    std::string path;
    int frameWidth;
    int frameHeight;
    int count;
    int flags;
};

struct TPictureCase {
    std::string path;
    int width;
    int height;
};

std::string InRepo(const std::string& path) {
    return std::string(GORUM_SOURCE_DIR) + "/" + path;
}

const std::vector<std::string> SkillNames = {"Fitness", "Mental", "Social", "Wealth", "Leadership"};

std::vector<TStripCase> FixedStrips() {
    std::vector<TStripCase> strips = {
        {"media/PlayerStats.png", 50, 50, 3, -1},    {"media/MenuButton.png", 50, 50, 3, -1},
        {"media/SetGoal.png", 100, 75, 3, -1},       {"media/TutorialButton.png", 100, 50, 3, -1},
        {"media/JobButton.png", 250, 150, 3, -1},    {"media/CloseButton.png", 25, 25, 3, -1},
        {"media/HelpButton.png", 25, 25, 3, -1},     {"media/OkayButton.png", 25, 25, 3, -1},
        {"media/LeftNextButton.png", 25, 25, 3, -1}, {"media/RightNextButton.png", 25, 25, 3, -1},
        {"media/RadActions.png", 40, 40, 9, -1},     {"media/IconOverlay.png", 50, 50, 6, -1},
        {"media/goal.png", 40, 40, 3, -1},           {"media/focusedgoal.png", 40, 40, 3, -1},
        {"media/finalgoal.png", 40, 40, 3, -1},
    };
    for (const std::string& skill : SkillNames) {
        strips.push_back({"media/" + skill + "Levels.png", 200, 20, 10, -1});
        strips.push_back({"media/" + skill + "Tokens.png", 70, 10, 10, -1});
    }
    return strips;
}

// Whole pictures; their sizes follow from where the game draws them (the text back is stretched from
// 100 x 20, the strip and the meter frame around the ticks and the bar, the backdrop covers the canvas).
std::vector<TPictureCase> FixedPictures() {
    std::vector<TPictureCase> pictures = {
        {"media/textback.png", 100, 20},      {"media/timebar.png", 700, 50},
        {"media/mechanism.png", 100, 30},     {"media/Motivation.png", 200, 20},
        {"media/Grassy_BACK.jpg", 800, 600},  {"media/Grassy_OVER1.png", 800, 600},
        {"media/Grassy_OVER2.png", 800, 600}, {"media/GoldLink.png", 5, 5},
        {"media/RedEx.png", 30, 30},          {"media/Slider.png", 12, 24},
        {"media/LevelUp.png", 50, 20},
    };
    for (const std::string& skill : SkillNames)
        pictures.push_back({"media/" + skill + "Icon.png", 40, 40});
    return pictures;
}

// The content's own pictures: "path width height frames description", frames side by side.
std::vector<TStripCase> ListedPictures() {
    std::vector<TStripCase> listed;
    std::ifstream list(InRepo("tools/art-list.txt"));
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        std::string path;
        int width = 0, height = 0, frames = 0;
        if (!(fields >> path >> width >> height >> frames)) continue;
        // Item icons are loaded unmasked; stations with the default flags.
        const int flags = path.rfind("media/items/", 0) == 0 ? 0 : -1;
        listed.push_back({path, frames > 0 ? width / frames : 0, height, frames, flags});
    }
    return listed;
}

bool FrameShowsSomething(const TImage& image, int frame) {
    const std::vector<uint8_t>& rgba = image->pixels[static_cast<size_t>(frame)];
    for (size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] > 128) return true;
    return false;
}

// The file holds exactly the frames the game cuts from it: no frame missing, none left over.
void ExpectStrip(const TStripCase& c) {
    SCOPED_TRACE(c.path);
    TImage whole = LoadImage(InRepo(c.path), c.flags);
    ASSERT_NE(whole, nullptr) << "missing or unreadable";
    EXPECT_EQ(ImageWidth(whole) % c.frameWidth, 0);
    EXPECT_EQ(ImageHeight(whole) % c.frameHeight, 0);
    EXPECT_EQ(int64_t{ImageWidth(whole)} * ImageHeight(whole),
              int64_t{c.frameWidth} * c.frameHeight * c.count);

    TImage frames = LoadFrames(InRepo(c.path), c.frameWidth, c.frameHeight, 0, c.count, c.flags);
    ASSERT_NE(frames, nullptr);
    EXPECT_EQ(ImageWidth(frames), c.frameWidth);
    EXPECT_EQ(ImageHeight(frames), c.frameHeight);
    EXPECT_EQ(ImageFrames(frames), c.count);
    for (int k = 0; k < ImageFrames(frames); ++k)
        EXPECT_TRUE(FrameShowsSomething(frames, k)) << "frame " << k;
}

TEST(Media, EveryFixedStripHoldsItsFramesAndEachShowsSomething) {
    for (const TStripCase& c : FixedStrips())
        ExpectStrip(c);
}

TEST(Media, EveryFixedPictureHasItsSizeAndShowsSomething) {
    for (const TPictureCase& c : FixedPictures()) {
        SCOPED_TRACE(c.path);
        TImage image = LoadImage(InRepo(c.path));
        ASSERT_NE(image, nullptr) << "missing or unreadable";
        EXPECT_EQ(ImageWidth(image), c.width);
        EXPECT_EQ(ImageHeight(image), c.height);
        EXPECT_TRUE(FrameShowsSomething(image, 0));
    }
}

TEST(Media, PointerStatesOfAButtonAreDrawnDifferently) {
    // Rest, hover and hold must be told apart, or the player cannot see the pointer on a button.
    for (const TStripCase& c : FixedStrips()) {
        if (c.count % 3 != 0 || c.path.find("Levels") != std::string::npos ||
            c.path.find("Tokens") != std::string::npos)
            continue;
        SCOPED_TRACE(c.path);
        TImage frames = LoadFrames(InRepo(c.path), c.frameWidth, c.frameHeight, 0, c.count, c.flags);
        ASSERT_NE(frames, nullptr);
        for (int v = 0; v + 2 < c.count; v += 3) {
            EXPECT_NE(frames->pixels[v], frames->pixels[v + 1]) << "variant " << v / 3 << " hover";
            EXPECT_NE(frames->pixels[v], frames->pixels[v + 2]) << "variant " << v / 3 << " hold";
            EXPECT_NE(frames->pixels[v + 1], frames->pixels[v + 2]) << "variant " << v / 3;
        }
    }
}

TEST(Media, SkillListIconsAreSixDistinctSquares) {
    TImage strip = LoadIconStrip(InRepo("media/SkillTypes.bmp"));
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(ImageWidth(strip), ImageHeight(strip));
    EXPECT_EQ(ImageFrames(strip), 6);
    for (int a = 0; a < ImageFrames(strip); ++a)
        for (int b = a + 1; b < ImageFrames(strip); ++b)
            EXPECT_NE(strip->pixels[a], strip->pixels[b]) << a << b;
}

TEST(Media, ItemIconFallbackLoadsUnmaskedAtIconSize) {
    TImage icon = LoadImage(InRepo("media/DefaultIcon.jpg"), 0);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(ImageWidth(icon), 50);
    EXPECT_EQ(ImageHeight(icon), 50);
    // Unmasked icons are drawn whole: every pixel opaque.
    const std::vector<uint8_t>& rgba = icon->pixels[0];
    for (size_t i = 3; i < rgba.size(); i += 4)
        ASSERT_EQ(rgba[i], 255);
}

TEST(Media, EveryPictureTheContentListsLoadsWithItsFrames) {
    const std::vector<TStripCase> listed = ListedPictures();
    ASSERT_FALSE(listed.empty()) << "tools/art-list.txt is missing or empty";
    for (const TStripCase& c : listed) {
        ASSERT_GT(c.frameWidth, 0) << c.path;
        ExpectStrip(c);
    }
}

} // namespace
