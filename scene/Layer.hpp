#pragma once
// A named, ordered list of sprites; the canvas is the layers drawn in creation order, each in insertion
// order. Layers are made once at scene assembly and live in LayerList; CurrentLayer receives new sprites. A
// layer with a draw routine hands its turn to CustomLayerHook; a missing hook simply draws nothing.

#include "scene/Sprite.hpp"

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>

class TLayer;

using TLayerRef = std::shared_ptr<TLayer>;
using TLayerList = std::list<TLayerRef>;

class TLayer : public std::enable_shared_from_this<TLayer> {
  public:
    int Blend = BlendAlpha;
    TSpriteList Sprites;
    int Hidden = 0;
    std::optional<TLayerList::iterator> LayerEntry;
    std::string Tag;
    std::string DrawRoutine = "NULL";

    // Appended to LayerList and made current.
    static TLayerRef Create(const std::string& tag);
    static TLayerRef Find(const std::string& tag);
    // 1 and the layer made current when it exists; 0 and CurrentLayer untouched otherwise.
    static int Select(const std::string& tag);
    // Draws every visible layer to SceneCanvas as one frame, shown when it looks different from the last.
    static void RenderAll();

    void MakeCurrent();
    void Hide() { Hidden = 1; }
    void Show() { Hidden = 0; }
    // Product of the visible sprites' results: 1 when every one of them had something to draw.
    int Draw();
    void Destroy();
};

// Lives for the whole run and is never destroyed: sprites and their layers refer to each other.
inline TLayerList& LayerList = *new TLayerList;
inline TLayerRef CurrentLayer;

// Connected by the shell at start-up: the game canvas, and the routines behind the layers' DrawRoutine names.
inline TGadget SceneCanvas = nullptr;
inline std::function<void(const std::string&)> CustomLayerHook;
