#include "platform/Backend.hpp"
#include "platform/ImageData.hpp"

namespace {

TGadget Target = nullptr;

int Channel(int value) {
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

void Draw(TFrameOp op, float x, float y, float w = 0, float h = 0, const TImage* image = nullptr,
          int frame = 0, const std::string* text = nullptr) {
    Target->frames.Take(Target, TCallView{op, &Target->draw, image, frame, x, y, w, h, text});
}

} // namespace

void SetDrawTarget(TGadget canvas) {
    if (canvas == nullptr || canvas->kind != TGadgetKind::Canvas) return;
    Target = canvas;
    BackendBeginTarget(canvas);
    if (!canvas->drawStarted) {
        // A canvas starts black, shown once, with the documented drawing state.
        canvas->drawStarted = true;
        canvas->draw = TDrawState{};
        Draw(TFrameOp::Clear, 0, 0);
        Present();
    }
}

void ClearTarget() {
    if (Target != nullptr) Draw(TFrameOp::Clear, 0, 0);
}

void BeginFrame() {
    if (Target != nullptr) Target->frames.Begin(Target);
}

void Present() {
    if (Target != nullptr && Target->frames.Present(Target)) ++Target->framesPresented;
}

TGadget CurrentDrawTarget() {
    return Target;
}

void ForgetDrawTarget(TGadget canvas) {
    if (Target == canvas) Target = nullptr;
}

int CanvasWidth() {
    return Target == nullptr ? 0 : Target->w;
}

int CanvasHeight() {
    return Target == nullptr ? 0 : Target->h;
}

void SetColor(int r, int g, int b) {
    if (Target == nullptr) return;
    Target->draw.r = Channel(r);
    Target->draw.g = Channel(g);
    Target->draw.b = Channel(b);
}

void SetBlend(int mode) {
    if (Target == nullptr || mode < BlendMasked || mode > BlendShade) return;
    Target->draw.blend = mode;
}

void SetScale(float sx, float sy) {
    if (Target == nullptr) return;
    Target->draw.scaleX = sx;
    Target->draw.scaleY = sy;
}

void SetFont(const TFont& font) {
    if (Target != nullptr) Target->draw.font = font;
}

void DrawImage(const TImage& image, float x, float y, int frame) {
    if (Target == nullptr || image == nullptr || frame < 0 || frame >= ImageFrames(image)) return;
    Draw(TFrameOp::Image, x, y, 0, 0, &image, frame);
}

void DrawRect(float x, float y, float w, float h) {
    if (Target != nullptr) Draw(TFrameOp::Rect, x, y, w, h);
}

void DrawLine(float x1, float y1, float x2, float y2, int lastPixel) {
    if (Target != nullptr) Draw(TFrameOp::Line, x1, y1, x2, y2, nullptr, lastPixel);
}

void DrawOval(float x, float y, float w, float h) {
    if (Target != nullptr) Draw(TFrameOp::Oval, x, y, w, h);
}

void DrawText(const std::string& text, float x, float y) {
    if (Target != nullptr && !text.empty()) Draw(TFrameOp::Text, x, y, 0, 0, nullptr, 0, &text);
}

void GrabImage(const TImage& image, int x, int y, int frame) {
    if (Target == nullptr || image == nullptr || frame < 0 || frame >= image->frames) return;
    if ((image->flags & ImageDynamic) == 0) return;
    Target->frames.BeforeRead(Target);
    BackendGrabImage(Target, image, x, y, frame);
    ++image->version;
}
