#include "scene/TextSprite.hpp"

#include "scene/Layer.hpp"
#include "scene/Numeric.hpp"

#include <algorithm>

TTextSpriteRef TTextSprite::Create() {
    auto sprite = std::make_shared<TTextSprite>();
    sprite->AppendTo(CurrentLayer);
    sprite->TextEntry = TextSpriteList.insert(TextSpriteList.end(), sprite);
    return sprite;
}

TTextSpriteRef TTextSprite::CreateText(const std::string& text) {
    TLayer::Select("text");
    TTextSpriteRef sprite = Create();
    sprite->Text = text;
    if (TextBackImage == nullptr) TextBackImage = LoadImage(TextBackPath, -1);
    return sprite;
}

namespace {

template <typename TVisit> void ForEachLine(const std::string& text, TVisit visit) {
    size_t start = 0;
    for (int row = 0;; ++row) {
        const size_t end = text.find('\n', start);
        visit(text.substr(start, end == std::string::npos ? std::string::npos : end - start), row);
        if (end == std::string::npos) return;
        start = end + 1;
    }
}

} // namespace

int TTextSprite::Draw() {
    if (Hidden != 0) return 1;
    SetColor(0, 0, 0);
    ForEachLine(Text, [&](const std::string& line, int row) {
        DrawText(line, X, Y + static_cast<float>(row * TextHeight()));
    });
    SetColor(255, 255, 255);
    return 1;
}

int TTextSprite::Width() const {
    int widest = 0;
    ForEachLine(Text, [&](const std::string& line, int) { widest = std::max(widest, TextWidth(line)); });
    return widest;
}

int TTextSprite::Height() const {
    int rows = 0;
    ForEachLine(Text, [&](const std::string&, int row) { rows = row + 1; });
    return rows * TextHeight();
}

// Off its layer as well: every radial menu built and destroyed leaves its labels behind otherwise, and a
// long game piled up thousands of empty ones that each frame still walked.
void TTextSprite::Remove() {
    if (TextEntry) {
        TextSpriteList.erase(*TextEntry);
        TextEntry.reset();
    }
    Text.clear();
    TSprite::Remove();
}

void TTextSprite::DrawBacks() {
    if (TextBackImage == nullptr) return;
    for (auto it = TextSpriteList.begin(); it != TextSpriteList.end();) {
        TTextSpriteRef sprite = *it++;
        if (sprite->Hidden != 0) continue;
        // The back picture is 100 x 20 pixels, stretched to 5 px beyond the text at each side.
        const float w = static_cast<float>(sprite->Width() + 10);
        const float h = static_cast<float>(sprite->Height() + 5);
        SetScale(w / 100.0f, h / 20.0f);
        DrawImage(TextBackImage, static_cast<float>(TruncInt(sprite->X - 5.0f)),
                  static_cast<float>(TruncInt(sprite->Y - 2.0f)), 0);
        SetScale(1.0f, 1.0f);
    }
}

void TTextSprite::SetupFont() {
    TextFont = LoadFont(TextFontPath, 15, FontSmoothed);
    SetFont(TextFont);
}
