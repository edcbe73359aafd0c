#pragma once
// Drawing state of one canvas: what SetColor, SetBlend, SetScale and SetFont last set there.

#include "platform/Platform.hpp"

struct TDrawState {
    int r = 255;
    int g = 255;
    int b = 255;
    int blend = BlendMasked;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    TFont font; // none: the default font
};

// Called as a canvas is destroyed: drawing and measuring must not reach through a freed target.
void ForgetDrawTarget(TGadget canvas);
