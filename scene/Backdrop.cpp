#include "scene/Backdrop.hpp"

#include "scene/Layer.hpp"

namespace {

TSpriteRef TiledPicture(const std::string& path) {
    TSpriteRef sprite = TSprite::Load(path, -1);
    sprite->Tiled = 1;
    return sprite;
}

} // namespace

TBackdropRef TBackdrop::Create(const std::string& prefix) {
    TLayer::Select("backdrop");
    auto backdrop = std::make_shared<TBackdrop>();
    backdrop->Back = TiledPicture(prefix + "_BACK.jpg");
    backdrop->Over1 = TiledPicture(prefix + "_OVER1.png");
    backdrop->Over2 = TiledPicture(prefix + "_OVER2.png");
    CurrentBackdrop = backdrop;
    return backdrop;
}
