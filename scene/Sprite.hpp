#pragma once
// A positioned image or animation strip drawn by the layer it sits in, in that layer's insertion order.
// Owned by reference: its layer's list, and any hotspot or menu item that shows it. Images are shared.
// A sprite whose image failed to load still exists and draws nothing; that is logged, never fatal.

#include "platform/Platform.hpp"

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>

class TLayer;
class TSprite;

using TSpriteRef = std::shared_ptr<TSprite>;
using TSpriteList = std::list<TSpriteRef>;

enum TAnimMode : int { AnimLoop = 0, AnimOnce = 1, AnimPingPong = 2 };

class TSprite : public std::enable_shared_from_this<TSprite> {
  public:
    virtual ~TSprite() = default;

    float X = 0.0f;
    float Y = 0.0f;
    int Frame = 0;
    int FrameWidth = 0;
    int FrameHeight = 0;
    int FrameCount = 0;
    int FrameDelay = 100;
    TImage Image;
    std::optional<TSpriteList::iterator> LayerEntry;
    int Hidden = 0;
    std::string Tag;
    int Tiled = 0;
    uint32_t LastFrameTime = 0;
    int AnimMode = AnimLoop;
    int Animating = 0;
    int FrameStep = 1;
    std::shared_ptr<TLayer> Layer;
    // Drawn this many times its size (a whole tiling never is): an item's icon made small for a token.
    float Scale = 1.0f;

    // A new sprite whose Layer is CurrentLayer; with add != 0 it is also appended to that layer.
    static TSpriteRef Create(int add);
    static TSpriteRef Load(const std::string& path, int flags = -1);
    static TSpriteRef LoadAnim(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                               int cellCount, int flags = -1);
    static TSpriteRef FromImage(const TImage& image);
    // First sprite with the tag in the layer, or in CurrentLayer when the layer is none.
    static TSpriteRef Find(const std::string& tag, const std::shared_ptr<TLayer>& layer);

    // A copy on top of this sprite's layer, sharing its image, with its own visibility and animation.
    TSpriteRef Clone(const std::string& tag);
    void SetPosition(float x, float y);
    void Move(float dx, float dy);
    void Hide() { Hidden = 1; }
    void Show() { Hidden = 0; }
    virtual void Remove();
    void SizeFromImage();
    int SetFrameDelay(int ms);
    void Play(int mode);
    void Stop(int rewind);
    // 1 when something was drawn, 0 for a sprite without image (or a tiling without frame size).
    virtual int Draw();
    int DrawAt(const TImage& image, int x, int y);
    // Its size on the canvas: one frame (the image, for a sprite made from one) times Scale.
    float DrawnWidth() const;
    float DrawnHeight() const;
    // An icon over a button or token: at its corner as drawn, or in its middle when made small.
    void PlaceOver(float left, float top, float width, float height);

  protected:
    // Puts the sprite at the end of the layer's list and remembers where.
    void AppendTo(const std::shared_ptr<TLayer>& layer);

  private:
    void StepAnimation();

    std::weak_ptr<TLayer> EntryLayer; // the layer whose list LayerEntry points into
};
