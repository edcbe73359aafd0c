#include "scene/Layer.hpp"

TLayerRef TLayer::Create(const std::string& tag) {
    auto layer = std::make_shared<TLayer>();
    layer->Tag = tag;
    layer->LayerEntry = LayerList.insert(LayerList.end(), layer);
    CurrentLayer = layer;
    return layer;
}

TLayerRef TLayer::Find(const std::string& tag) {
    for (const TLayerRef& layer : LayerList) {
        if (layer->Tag == tag) return layer;
    }
    return nullptr;
}

int TLayer::Select(const std::string& tag) {
    TLayerRef layer = Find(tag);
    if (layer == nullptr) return 0;
    layer->MakeCurrent();
    return 1;
}

void TLayer::MakeCurrent() {
    CurrentLayer = shared_from_this();
}

int TLayer::Draw() {
    int result = 1;
    // Step before drawing, so that a sprite may leave the list while it is drawn.
    for (auto it = Sprites.begin(); it != Sprites.end();) {
        TSpriteRef sprite = *it++;
        if (sprite->Hidden == 0) result *= sprite->Draw();
    }
    return result;
}

void TLayer::Destroy() {
    if (LayerEntry) {
        LayerList.erase(*LayerEntry);
        LayerEntry.reset();
    }
    for (auto it = Sprites.begin(); it != Sprites.end();) {
        TSpriteRef sprite = *it++;
        sprite->Remove();
    }
}

void TLayer::RenderAll() {
    SetDrawTarget(SceneCanvas);
    BeginFrame();
    for (auto it = LayerList.begin(); it != LayerList.end();) {
        TLayerRef layer = *it++;
        if (layer->Hidden != 0) continue;
        SetBlend(layer->Blend);
        if (layer->DrawRoutine == "NULL") {
            layer->Draw();
        } else if (CustomLayerHook) {
            CustomLayerHook(layer->DrawRoutine);
        }
    }
    Present();
}
