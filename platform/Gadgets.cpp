#include "platform/Backend.hpp"
#include "platform/EventChain.hpp"
#include "platform/GadgetRecord.hpp"

#include <algorithm>

namespace {

// Never destroyed: gadgets live until DestroyGadget, and nothing is freed at exit.
std::vector<TGadget>& Gadgets = *new std::vector<TGadget>;

TGadget Make(TGadgetKind kind, const std::string& text, int x, int y, int w, int h, TGadget parent,
             int style) {
    auto* gadget = new TGadgetRecord;
    gadget->kind = kind;
    gadget->parent = parent;
    gadget->text = text;
    gadget->x = x;
    gadget->y = y;
    gadget->w = w < 0 ? 0 : w;
    gadget->h = h < 0 ? 0 : h;
    gadget->style = style;
    if (parent != nullptr) parent->children.push_back(gadget);
    Gadgets.push_back(gadget);
    BackendGadgetCreated(gadget);
    return gadget;
}

bool IsListBox(TGadget gadget) {
    return gadget != nullptr && gadget->kind == TGadgetKind::ListBox;
}

} // namespace

const std::vector<TGadget>& AllGadgets() {
    return Gadgets;
}

void ServePendingRepaints() {
    // A copy: a paint hook may create or destroy gadgets.
    for (TGadget gadget : std::vector<TGadget>(Gadgets)) {
        if (gadget->kind != TGadgetKind::Canvas || !gadget->repaintPending || !BackendCanvasReady(gadget))
            continue;
        gadget->repaintPending = false;
        TEvent paint;
        paint.id = GadgetPaint;
        paint.source = gadget;
        EmitEvent(paint);
    }
}

TGadget OpenWindow(const std::string& title, int x, int y, int w, int h, TGadget parent, int style) {
    return Make(TGadgetKind::Window, title, x, y, w, h, parent, style);
}

TGadget AddPanel(int x, int y, int w, int h, TGadget parent, int style, const std::string& title) {
    return Make(TGadgetKind::Panel, title, x, y, w, h, parent, style);
}

TGadget AddButton(const std::string& text, int x, int y, int w, int h, TGadget parent, int style) {
    return Make(TGadgetKind::Button, text, x, y, w, h, parent, style);
}

TGadget AddLabel(const std::string& text, int x, int y, int w, int h, TGadget parent, int style) {
    return Make(TGadgetKind::Label, text, x, y, w, h, parent, style);
}

TGadget AddListBox(int x, int y, int w, int h, TGadget parent, int style) {
    return Make(TGadgetKind::ListBox, "", x, y, w, h, parent, style);
}

TGadget AddHtmlView(int x, int y, int w, int h, TGadget parent, int style) {
    return Make(TGadgetKind::HtmlView, "", x, y, w, h, parent, style);
}

TGadget AddCanvas(int x, int y, int w, int h, TGadget parent, int style) {
    return Make(TGadgetKind::Canvas, "", x, y, w, h, parent, style);
}

void DestroyGadget(TGadget gadget) {
    // A handle whose gadget went with its parent is stale; freeing it twice would corrupt the heap.
    if (gadget == nullptr || std::find(Gadgets.begin(), Gadgets.end(), gadget) == Gadgets.end()) return;
    // Children go first so that a backend never sees a child outlive its parent.
    while (!gadget->children.empty())
        DestroyGadget(gadget->children.back());
    BackendGadgetDestroyed(gadget);
    ForgetDrawTarget(gadget);
    if (gadget->parent != nullptr) std::erase(gadget->parent->children, gadget);
    std::erase(Gadgets, gadget);
    delete gadget;
}

void SetVisible(TGadget gadget, bool visible) {
    if (gadget == nullptr) return;
    gadget->visible = visible;
    BackendVisibilityChanged(gadget);
}

void SetBounds(TGadget gadget, int x, int y, int w, int h) {
    if (gadget == nullptr) return;
    gadget->x = x;
    gadget->y = y;
    gadget->w = w < 0 ? 0 : w;
    gadget->h = h < 0 ? 0 : h;
    BackendBoundsChanged(gadget);
}

void SetText(TGadget gadget, const std::string& text) {
    if (gadget == nullptr) return;
    gadget->text = text;
    BackendTextChanged(gadget);
}

int ClientWidth(TGadget window) {
    return window == nullptr ? 0 : window->w;
}

int ClientHeight(TGadget window) {
    return window == nullptr ? 0 : window->h;
}

TBounds Bounds(TGadget gadget) {
    return gadget == nullptr ? TBounds{} : TBounds{gadget->x, gadget->y, gadget->w, gadget->h};
}

TBounds WorkArea(TGadget window) {
    return window == nullptr ? TBounds{} : BackendWorkArea(window);
}

void SetStatusText(TGadget window, const std::string& text) {
    if (window == nullptr || window->kind != TGadgetKind::Window || window->statusText == text) return;
    window->statusText = text;
    BackendStatusTextChanged(window);
}

void SetPicture(TGadget panel, const TImage& image, int frame) {
    if (panel == nullptr || panel->kind != TGadgetKind::Panel) return;
    if (panel->picture == image && panel->pictureFrame == frame) return;
    panel->picture = image;
    panel->pictureFrame = frame;
    BackendPictureChanged(panel);
}

void RequestRepaint(TGadget canvas) {
    if (canvas == nullptr || canvas->kind != TGadgetKind::Canvas) return;
    canvas->repaintPending = true;
    BackendRepaintRequested(canvas);
}

void ClearItems(TGadget listBox) {
    if (!IsListBox(listBox)) return;
    listBox->items.clear();
    listBox->selected = -1;
    BackendItemsChanged(listBox);
}

void AddItem(TGadget listBox, const std::string& text, int, int icon, const std::string&, const void*) {
    if (!IsListBox(listBox)) return;
    listBox->items.push_back(TListItem{text, icon});
    BackendItemsChanged(listBox);
}

int SelectedIndex(TGadget listBox) {
    return IsListBox(listBox) ? listBox->selected : -1;
}

std::string ItemText(TGadget listBox, int index) {
    if (!IsListBox(listBox) || index < 0 || index >= static_cast<int>(listBox->items.size())) return "";
    return listBox->items[static_cast<size_t>(index)].text;
}

void SetIconStrip(TGadget listBox, const TImage& strip) {
    if (!IsListBox(listBox)) return;
    listBox->iconStrip = strip;
    BackendItemsChanged(listBox);
}

void Navigate(TGadget htmlView, const std::string& location) {
    if (htmlView == nullptr || htmlView->kind != TGadgetKind::HtmlView) return;
    htmlView->url = location;
    BackendNavigate(htmlView, location);
}

std::string CurrentUrl(TGadget htmlView) {
    return htmlView == nullptr || htmlView->kind != TGadgetKind::HtmlView ? "" : htmlView->url;
}
