#pragma once
// What the GTK backend keeps for one gadget (in its record's `native`), and the calls between the
// backend's files. Owned by the backend: made when the record is created, freed when it is destroyed.
// A gadget whose widget could not be made keeps a native with null widgets and is ignored.

#include "platform/GadgetRecord.hpp"

#include <gtk/gtk.h>

#include <functional>

struct TGtkCanvas;
struct TGtkHtmlView;

struct TGtkNative {
    GtkWidget* outer = nullptr;            // what sits in the parent's container (a toplevel for windows)
    GtkWidget* fixed = nullptr;            // where children are placed: windows, panels and canvases
    GtkWidget* control = nullptr;          // the working widget: button, label, tree view, web view, canvas
    GtkListStore* store = nullptr;         // list box rows
    std::vector<GdkPixbuf*> icons;         // list box: the icon strip's frames
    const TImageData* iconsFrom = nullptr; // the strip the icons were built from
    bool syncingItems = false;             // list box: rows are being rebuilt, ignore selection
    bool owned = false;                    // no parent container: we hold the widget
    int lastX = 0, lastY = 0, lastW = 0, lastH = 0; // window: what was last reported as moved or sized
    GtkWidget* picture = nullptr;          // panel: the image in its middle, made when first asked for
    TGtkCanvas* canvas = nullptr;
    TGtkHtmlView* html = nullptr;
};

inline TGtkNative* NativeOf(TGadget gadget) {
    return gadget == nullptr ? nullptr : static_cast<TGtkNative*>(gadget->native);
}

// Opens the display on first use; without one the process ends with a line on stderr.
void GtkEnsureStarted();

// The game's look for panels, labels, buttons and list boxes, for the whole screen.
void GtkInstallPanelStyle();
// Puts every button event through the click guard (platform/ClickGuard.hpp) before GTK sees it.
void GtkInstallClickGuard();

// Canvases: the picture widget with its back buffer, inside a container that holds the canvas's children.
void GtkMakeCanvas(TGadget canvas);
void GtkResizeCanvas(TGadget canvas);
void GtkFreeCanvas(TGadget canvas);
// Whether the widget's window paints through the GL context every canvas draws with: the window it was
// made for, from the first drawing on any canvas. Textures made in that context can be drawn there.
bool GtkPaintsThroughGl(GtkWidget* widget);
// A picture GTK draws of some widgets, kept as a texture in that context for GDK to draw: drawn again
// only once marked stale or when wanted at another size.
struct TGlPicture {
    unsigned texture = 0; // bottom row first, as GDK draws textures
    int w = 0, h = 0;
    bool stale = true;
};
// Brings the picture up to date at w x h, drawing it with `draw` into a cairo image of `format`. Needs the
// context.
void GtkRefreshPicture(TGlPicture& picture, int w, int h, cairo_format_t format,
                       const std::function<void(cairo_t*)>& draw);
void GtkFreePicture(const TGlPicture& picture);
// The texture the canvas shows and its size, once it has presented a picture.
bool GtkCanvasPicture(TGadget canvas, unsigned& texture, int& w, int& h);
// A panel lying on a canvas, painted through GL from a picture of itself once the canvas's window is.
void GtkPaintPanelThroughGl(GtkWidget* body, TGadget canvas);

// A status bar at the end of a window's box, below the client area, painted through GL once the window is.
void GtkAddStatusBar(GtkWidget* box, GtkWidget* client);
// Shows the line in the status bar of the box, if it has one.
void GtkSetStatusText(GtkWidget* box, const std::string& text);

// HTML views: a web view that remembers links as the page wrote them.
void GtkMakeHtmlView(TGadget view);
void GtkFreeHtmlView(TGadget view);
// Whether any web view exists.
bool GtkHtmlViewsExist();
// Whether any view has shown a loaded page yet.
bool GtkHtmlPageShown();
// How long after start loading gives way to the first page at most, should that page be slow to show.
constexpr int FirstPageWaitLimitMs = 500;
// Destroys every web view so that no helper process of the engine outlives the program.
void GtkFreeAllHtmlViews();
