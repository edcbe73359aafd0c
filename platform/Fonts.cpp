#include "platform/FontData.hpp"

#include "platform/DrawState.hpp"
#include "platform/GadgetRecord.hpp"
#include "platform/ImageData.hpp"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <sys/stat.h>
#include FT_FREETYPE_H

#include <memory>

namespace {

constexpr int DefaultFontSize = 13;
constexpr int MaxFontSize = 512;
constexpr size_t MaxCachedGlyphs = 2048;
constexpr const char* DefaultFontFamily = "DejaVu Sans";
constexpr const char* DefaultFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

FT_Library Library = nullptr;
bool LibraryTried = false;
TFont DefaultFont;
bool DefaultFontTried = false;

FT_Library FreeType() {
    if (!LibraryTried) {
        LibraryTried = true;
        if (FT_Init_FreeType(&Library) != 0) Library = nullptr;
    }
    return Library;
}

// 26.6 fixed point to whole pixels, rounding up so that nothing of a line is cut off.
int CeilPixels(FT_Pos value) {
    return static_cast<int>((value + 63) >> 6);
}

TFont OpenFace(const std::string& path, int size, int style) {
    struct stat info {};
    // Only regular files: FreeType would wait for ever on a pipe.
    if (size < 1 || size > MaxFontSize || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    FT_Library library = FreeType();
    FT_Face face = nullptr;
    if (library == nullptr || FT_New_Face(library, path.c_str(), 0, &face) != 0) return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    auto font = std::make_shared<TFontData>();
    font->face = face;
    font->pixelSize = size;
    font->smoothed = (style & FontSmoothed) != 0;
    font->ascent = CeilPixels(face->size->metrics.ascender);
    font->lineHeight = CeilPixels(face->size->metrics.height);
    if (font->lineHeight < 1) font->lineHeight = size;
    return font;
}

std::string DefaultFontPath() {
    std::string path;
    if (FcInit() == FcFalse) return path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(DefaultFontFamily));
    if (pattern == nullptr) return path;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr)
        path = reinterpret_cast<const char*>(file);
    if (match != nullptr) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return path;
}

// One row of a FreeType bitmap, whichever way its rows run in memory.
const unsigned char* BitmapRow(const FT_Bitmap& bitmap, unsigned row) {
    if (bitmap.pitch >= 0) return bitmap.buffer + static_cast<size_t>(bitmap.pitch) * row;
    return bitmap.buffer + static_cast<size_t>(-bitmap.pitch) * (bitmap.rows - 1 - row);
}

} // namespace

TFontData::~TFontData() {
    if (atlas != 0 && ReleaseTextures != nullptr) ReleaseTextures({atlas});
    if (face != nullptr) FT_Done_Face(face);
}

TGlyph& TFontData::Glyph(char32_t code) {
    auto found = glyphs.find(code);
    if (found != glyphs.end()) return found->second;
    if (glyphs.size() >= MaxCachedGlyphs) glyphs.clear();
    TGlyph& glyph = glyphs[code];
    const FT_Int32 target = smoothed ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (FT_Load_Glyph(face, FT_Get_Char_Index(face, code), FT_LOAD_DEFAULT | target) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, smoothed ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const bool grey = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    if (!grey && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return glyph;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.coverage.assign(size_t{bitmap.width} * bitmap.rows, 0);
    const unsigned levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1u : 255u;
    for (unsigned y = 0; y < bitmap.rows; ++y) {
        const unsigned char* source = BitmapRow(bitmap, y);
        uint8_t* dest = glyph.coverage.data() + size_t{bitmap.width} * y;
        for (unsigned x = 0; x < bitmap.width; ++x) {
            if (grey)
                dest[x] = static_cast<uint8_t>(source[x] * 255u / levels);
            else
                dest[x] = (source[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
        }
    }
    return glyph;
}

TFontData* ActiveFont(const TFont& chosen) {
    if (chosen != nullptr) return chosen.get();
    if (!DefaultFontTried) {
        DefaultFontTried = true;
        DefaultFont = OpenFace(DefaultFontPath(), DefaultFontSize, FontSmoothed);
        if (DefaultFont == nullptr) DefaultFont = OpenFace(DefaultFontFile, DefaultFontSize, FontSmoothed);
    }
    return DefaultFont.get();
}

std::u32string DecodeUtf8(const std::string& text) {
    constexpr char32_t Replacement = 0xFFFD;
    std::u32string codes;
    codes.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t code = lead;
        char32_t least = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
            least = 0x10000;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
            least = 0x800;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
            least = 0x80;
        } else if (lead >= 0x80) {
            codes.push_back(Replacement);
            ++i;
            continue;
        }
        size_t taken = 1;
        while (taken <= static_cast<size_t>(extra) && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
            code = code << 6 | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
            ++taken;
        }
        const bool whole = taken == static_cast<size_t>(extra) + 1;
        const bool valid = whole && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        codes.push_back(valid ? code : Replacement);
        i += taken;
    }
    return codes;
}

TFont LoadFont(const std::string& path, int size, int style) {
    return OpenFace(path, size, style);
}

int TextWidth(const std::string& text) {
    TGadget target = CurrentDrawTarget();
    TFontData* font = ActiveFont(target == nullptr ? nullptr : target->draw.font);
    if (font == nullptr) return 0;
    int width = 0;
    for (char32_t code : DecodeUtf8(text))
        width += font->Glyph(code).advance;
    return width;
}

int TextHeight() {
    TGadget target = CurrentDrawTarget();
    const TFontData* font = ActiveFont(target == nullptr ? nullptr : target->draw.font);
    return font == nullptr ? 0 : font->lineHeight;
}
