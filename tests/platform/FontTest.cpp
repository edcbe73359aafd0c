// Loading fonts, measuring text in the current target's font, and rasterizing glyphs, all headless.

#include "platform/FontData.hpp"
#include "platform/Platform.hpp"
#include "platform/headless/Headless.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

const std::string DejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class FontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HeadlessReset();
        window = OpenWindow("fonts", 0, 0, 200, 100, nullptr, 41);
        canvas = AddCanvas(0, 0, 200, 100, window);
        SetDrawTarget(canvas);
    }
    void TearDown() override { HeadlessReset(); }

    TGadget window = nullptr;
    TGadget canvas = nullptr;
};

TEST_F(FontTest, FilesThatAreNotFontsGiveNone) {
    EXPECT_EQ(LoadFont("C:\\WINDOWS\\Fonts\\fat.ttf", 15, FontSmoothed), nullptr);
    const std::string text = "/tmp/gorum-not-a-font.ttf";
    std::ofstream(text) << "this is no font\n";
    EXPECT_EQ(LoadFont(text, 15, FontSmoothed), nullptr);
    std::remove(text.c_str());
    EXPECT_EQ(LoadFont("/tmp", 15, FontSmoothed), nullptr);
    EXPECT_EQ(LoadFont("", 15, FontSmoothed), nullptr);
    EXPECT_EQ(LoadFont(DejaVu, 0, FontSmoothed), nullptr);
    EXPECT_EQ(LoadFont(DejaVu, -3, FontSmoothed), nullptr);
    EXPECT_NE(LoadFont(DejaVu, 15, FontSmoothed), nullptr);
}

TEST_F(FontTest, DefaultFontIsDejaVuSansAndMeasuresText) {
    const TFontData* font = ActiveFont(nullptr);
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->face->family_name, "DejaVu Sans");
    EXPECT_EQ(font->pixelSize, 13);

    const int word = TextWidth("Gorum");
    EXPECT_GT(word, 20);
    EXPECT_LT(word, 60);
    EXPECT_GT(TextWidth("Gorum Gorum"), word);
    EXPECT_GT(TextWidth("Gorum"), TextWidth("Goru"));
    EXPECT_EQ(TextWidth(""), 0);
    EXPECT_GE(TextHeight(), 13);
    EXPECT_LE(TextHeight(), 20);
}

TEST_F(FontTest, MeasuresInTheCurrentTargetsFont) {
    const TFont small = LoadFont(DejaVu, 10, FontSmoothed);
    const TFont large = LoadFont(DejaVu, 30, FontSmoothed);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    const int defaultWidth = TextWidth("Gorum");
    SetFont(small);
    const int smallWidth = TextWidth("Gorum");
    const int smallHeight = TextHeight();
    SetFont(large);
    EXPECT_GT(TextWidth("Gorum"), smallWidth * 2);
    EXPECT_GT(TextHeight(), smallHeight * 2);

    // Another canvas keeps its own font: the default.
    const TGadget other = AddCanvas(0, 0, 50, 50, window);
    SetDrawTarget(other);
    EXPECT_EQ(TextWidth("Gorum"), defaultWidth);
    SetDrawTarget(canvas);
    EXPECT_GT(TextWidth("Gorum"), smallWidth * 2);
    SetFont(nullptr);
    EXPECT_EQ(TextWidth("Gorum"), defaultWidth);
}

TEST_F(FontTest, Utf8TextIsMeasuredByCodePoint) {
    // "é" as two bytes is one glyph, as wide as the glyph of U+00E9 itself.
    EXPECT_EQ(TextWidth("\xC3\xA9"), ActiveFont(nullptr)->Glyph(0xE9).advance);
    EXPECT_GT(TextWidth("\xC3\xA9"), 0);
    EXPECT_EQ(TextWidth("\xE2\x82\xAC"), ActiveFont(nullptr)->Glyph(0x20AC).advance);
    // Broken bytes each stand for one replacement character.
    EXPECT_EQ(TextWidth("\xFF"), ActiveFont(nullptr)->Glyph(0xFFFD).advance);
}

TEST_F(FontTest, DestroyedTargetFallsBackToTheDefaultFont) {
    const int defaultWidth = TextWidth("Gorum");
    SetFont(LoadFont(DejaVu, 30, FontSmoothed));
    ASSERT_GT(TextWidth("Gorum"), defaultWidth);
    DestroyGadget(canvas);
    EXPECT_EQ(CurrentDrawTarget(), nullptr);
    EXPECT_EQ(TextWidth("Gorum"), defaultWidth);
    EXPECT_GT(TextHeight(), 0);
}

TEST(Utf8Test, DecodesValidAndReplacesMalformedSequences) {
    EXPECT_EQ(DecodeUtf8("Ab"), std::u32string(U"Ab"));
    EXPECT_EQ(DecodeUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), std::u32string(U"\u00E9\u20AC\U0001F600"));
    EXPECT_EQ(DecodeUtf8("\x80x"), std::u32string(U"\uFFFDx"));
    EXPECT_EQ(DecodeUtf8("\xE2\x82x"), std::u32string(U"\uFFFDx"));       // cut short
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), std::u32string(U"\uFFFD\uFFFD"));   // overlong lead
    EXPECT_EQ(DecodeUtf8("\xE0\x80\xAF"), std::u32string(U"\uFFFD"));     // overlong
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), std::u32string(U"\uFFFD"));     // surrogate
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), std::u32string(U"\uFFFD")); // beyond U+10FFFF
    EXPECT_EQ(DecodeUtf8("\xF0\x9F"), std::u32string(U"\uFFFD"));
}

TEST_F(FontTest, SmoothedGlyphsHaveGreyEdgesAndPlainOnesDoNot) {
    const TFont smooth = LoadFont(DejaVu, 30, FontSmoothed);
    const TFont plain = LoadFont(DejaVu, 30, 0);
    ASSERT_NE(smooth, nullptr);
    ASSERT_NE(plain, nullptr);
    const TGlyph& round = smooth->Glyph('O');
    ASSERT_EQ(round.coverage.size(), size_t(round.width) * round.height);
    EXPECT_GT(round.width, 10);
    EXPECT_GT(round.top, 15);
    int grey = 0;
    int full = 0;
    for (uint8_t c : round.coverage) {
        grey += c > 0 && c < 255;
        full += c == 255;
    }
    EXPECT_GT(grey, 20);
    EXPECT_GT(full, 20);

    const TGlyph& hard = plain->Glyph('O');
    ASSERT_FALSE(hard.coverage.empty());
    for (uint8_t c : hard.coverage)
        EXPECT_TRUE(c == 0 || c == 255);

    // A space moves the pen but has nothing to draw.
    const TGlyph& space = smooth->Glyph(' ');
    EXPECT_GT(space.advance, 0);
    EXPECT_TRUE(space.coverage.empty());
}

TEST_F(FontTest, GlyphCacheStaysBoundedAndStillMeasures) {
    const TFont font = LoadFont(DejaVu, 12, FontSmoothed);
    ASSERT_NE(font, nullptr);
    const int before = font->Glyph('W').advance;
    for (char32_t code = 0x4E00; code < 0x4E00 + 5000; ++code)
        font->Glyph(code);
    EXPECT_LE(font->glyphs.size(), 2048u);
    EXPECT_EQ(font->Glyph('W').advance, before);
}

} // namespace
