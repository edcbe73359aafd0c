#pragma once
// A label of black text in the canvas font, drawn in the "text" layer over a stretched back image.
// TextSpriteList holds every label whose back is drawn; Remove takes a label off it and off its layer,
// and empties its text.
// A missing back image or font is not an error: the back is skipped, the default font is used.

#include "scene/Sprite.hpp"

#include <list>
#include <memory>
#include <optional>
#include <string>

class TTextSprite;

using TTextSpriteRef = std::shared_ptr<TTextSprite>;
using TTextSpriteList = std::list<TTextSpriteRef>;

class TTextSprite : public TSprite {
  public:
    std::string Text;
    std::optional<TTextSpriteList::iterator> TextEntry;

    // Appended to CurrentLayer and to TextSpriteList; its Layer stays none.
    static TTextSpriteRef Create();
    // In the "text" layer, which stays current afterwards.
    static TTextSpriteRef CreateText(const std::string& text);
    // The draw routine of the "textback" layer: one stretched back per visible label.
    static void DrawBacks();
    static void SetupFont();

    int Draw() override;
    void Remove() override;
    // The text's size in the current font; a line break in it starts another line below.
    int Width() const;
    int Height() const;
};

// Lives for the whole run and is never destroyed: sprites and their layers refer to each other.
inline TTextSpriteList& TextSpriteList = *new TTextSpriteList;
inline TImage TextBackImage;
inline TFont TextFont;

inline constexpr const char* TextBackPath = "media/textback.png";
inline constexpr const char* TextFontPath = "C:\\WINDOWS\\Fonts\\fat.ttf";
