#pragma once
// The three full-canvas tiled pictures behind everything; one is made at scene assembly (CurrentBackdrop).
// Missing pictures leave imageless sprites that draw nothing.

#include "scene/Sprite.hpp"

#include <memory>
#include <string>

class TBackdrop;

using TBackdropRef = std::shared_ptr<TBackdrop>;

class TBackdrop {
  public:
    TSpriteRef Back;
    TSpriteRef Over1;
    TSpriteRef Over2;

    // prefix + "_BACK.jpg", "_OVER1.png", "_OVER2.png" in the "backdrop" layer, which stays current.
    static TBackdropRef Create(const std::string& prefix);
};

inline TBackdropRef CurrentBackdrop;
