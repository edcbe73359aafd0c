#include "scene/Sprite.hpp"

#include "scene/Layer.hpp"
#include "scene/Numeric.hpp"

TSpriteRef TSprite::Create(int add) {
    auto sprite = std::make_shared<TSprite>();
    sprite->Layer = CurrentLayer;
    if (add != 0) sprite->AppendTo(CurrentLayer);
    return sprite;
}

void TSprite::AppendTo(const std::shared_ptr<TLayer>& layer) {
    if (layer == nullptr) return;
    LayerEntry = layer->Sprites.insert(layer->Sprites.end(), shared_from_this());
    EntryLayer = layer;
}

TSpriteRef TSprite::Load(const std::string& path, int flags) {
    TSpriteRef sprite = Create(1);
    sprite->Image = LoadImage(path, flags);
    if (sprite->Image == nullptr) DebugLog("LOG: Failed to load image: " + path);
    sprite->SizeFromImage();
    return sprite;
}

TSpriteRef TSprite::LoadAnim(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                             int cellCount, int flags) {
    TSpriteRef sprite = Create(1);
    sprite->Image = LoadFrames(path, cellWidth, cellHeight, firstCell, cellCount, flags);
    if (sprite->Image == nullptr) DebugLog("LOG: Failed to load image: " + path);
    sprite->FrameCount = cellCount;
    sprite->SizeFromImage();
    return sprite;
}

TSpriteRef TSprite::FromImage(const TImage& image) {
    TSpriteRef sprite = Create(1);
    sprite->Image = image;
    return sprite;
}

TSpriteRef TSprite::Find(const std::string& tag, const std::shared_ptr<TLayer>& layer) {
    const TLayerRef& where = layer != nullptr ? layer : CurrentLayer;
    if (where == nullptr) return nullptr;
    for (const TSpriteRef& sprite : where->Sprites) {
        if (sprite->Tag == tag) return sprite;
    }
    return nullptr;
}

TSpriteRef TSprite::Clone(const std::string& tag) {
    auto copy = std::make_shared<TSprite>();
    copy->X = X;
    copy->Y = Y;
    copy->Frame = Frame;
    copy->FrameWidth = FrameWidth;
    copy->FrameHeight = FrameHeight;
    copy->FrameCount = FrameCount;
    copy->FrameDelay = FrameDelay;
    copy->Image = Image;
    copy->Tiled = Tiled;
    copy->Scale = Scale;
    copy->Tag = tag;
    copy->Layer = Layer;
    copy->AppendTo(Layer);
    return copy;
}

void TSprite::SetPosition(float x, float y) {
    X = x;
    Y = y;
}

void TSprite::Move(float dx, float dy) {
    X += dx;
    Y += dy;
}

void TSprite::Remove() {
    if (!LayerEntry) return;
    if (TLayerRef layer = EntryLayer.lock()) layer->Sprites.erase(*LayerEntry);
    LayerEntry.reset();
    EntryLayer.reset();
}

void TSprite::SizeFromImage() {
    if (Image == nullptr) return;
    FrameWidth = ImageWidth(Image);
    FrameHeight = ImageHeight(Image);
}

int TSprite::SetFrameDelay(int ms) {
    if (Image == nullptr) {
        DebugLog("LOG: Cannot set animation to imageless sprite!");
        return 0;
    }
    FrameDelay = ms;
    return 1;
}

void TSprite::Play(int mode) {
    AnimMode = mode;
    LastFrameTime = Milliseconds();
    Animating = 1;
}

void TSprite::Stop(int rewind) {
    Animating = 0;
    if (rewind != 0) {
        Frame = 0;
        FrameStep = 1;
    }
}

void TSprite::StepAnimation() {
    const uint32_t now = Milliseconds();
    // Wrap-safe: the clock wraps after 2^32 ms, the difference does not.
    const int64_t late = static_cast<int32_t>(now - LastFrameTime) - static_cast<int64_t>(FrameDelay);
    if (late <= 0) return;
    Frame += FrameStep;
    if (Frame > FrameCount - 1 || Frame < 0) {
        switch (AnimMode) {
        case AnimOnce:
            Animating = 0;
            Frame = 0;
            break;
        case AnimPingPong:
            Frame -= FrameStep;
            FrameStep = -FrameStep;
            break;
        default:
            Frame = 0;
            break;
        }
    }
    LastFrameTime = now - static_cast<uint32_t>(late);
}

int TSprite::DrawAt(const TImage& image, int x, int y) {
    if (Animating != 0) StepAnimation();
    if (image == nullptr) return 0;
    DrawImage(image, static_cast<float>(x), static_cast<float>(y), Frame);
    return 1;
}

int TSprite::Draw() {
    if (Tiled == 0 && Scale != 1.0f) {
        SetScale(Scale, Scale);
        const int drawn = DrawAt(Image, TruncInt(X), TruncInt(Y));
        SetScale(1.0f, 1.0f);
        return drawn;
    }
    if (Tiled == 0) return DrawAt(Image, TruncInt(X), TruncInt(Y));
    // A tiling needs a frame size to step by; an image that never loaded has none.
    if (FrameWidth <= 0 || FrameHeight <= 0) return 0;
    const int columns = CanvasWidth() / FrameWidth + 1;
    const int rows = CanvasHeight() / FrameHeight + 1;
    int result = 0;
    for (int i = 0; i <= columns; ++i) {
        for (int j = 0; j <= rows; ++j)
            result = DrawAt(Image, i * FrameWidth, j * FrameHeight);
    }
    return result;
}

float TSprite::DrawnWidth() const {
    return static_cast<float>(FrameWidth > 0 ? FrameWidth : ImageWidth(Image)) * Scale;
}

float TSprite::DrawnHeight() const {
    return static_cast<float>(FrameHeight > 0 ? FrameHeight : ImageHeight(Image)) * Scale;
}

void TSprite::PlaceOver(float left, float top, float width, float height) {
    if (Scale == 1.0f)
        SetPosition(left, top);
    else
        SetPosition(left + (width - DrawnWidth()) * 0.5f, top + (height - DrawnHeight()) * 0.5f);
}
