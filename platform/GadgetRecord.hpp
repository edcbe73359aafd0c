#pragma once
// What the platform knows of one GUI element, kept the same by both backends.
// Owned by the platform: created by the Add* operations, freed by DestroyGadget with its children.
// Tests of the headless backend read these records directly.

#include "platform/DrawState.hpp"
#include "platform/FrameRecord.hpp"
#include "platform/Platform.hpp"

#include <string>
#include <vector>

enum class TGadgetKind { Window, Panel, Button, Label, ListBox, HtmlView, Canvas };

struct TListItem {
    std::string text;
    int icon = -1;
};

struct TGadgetRecord {
    TGadgetKind kind = TGadgetKind::Panel;
    TGadget parent = nullptr;
    std::vector<TGadget> children;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int style = 0;
    std::string text;
    bool visible = true;
    std::vector<TListItem> items;
    int selected = -1;
    TImage iconStrip;
    std::string url;        // html view: the location as the page wrote it
    std::string statusText; // window: the status bar's line
    TImage picture;         // panel: the picture in its middle, or none
    int pictureFrame = 0;
    TDrawState draw;             // canvas: drawing state, kept between frames
    bool drawStarted = false;    // canvas: made a target at least once
    bool repaintPending = false; // canvas: a GadgetPaint is owed at the next wait
    TFrameRecord frames;         // canvas: its drawing, kept frame by frame
    int framesPresented = 0;     // canvas: frames handed to the screen so far
    void* native = nullptr;      // backend's own data
};

// Every live gadget in creation order; the backends walk it, the game never does.
const std::vector<TGadget>& AllGadgets();
// Emits the GadgetPaint owed to every canvas that asked for a repaint; backends call it while they wait.
void ServePendingRepaints();
