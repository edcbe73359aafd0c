// Panels lying on a canvas. Once the canvas's window paints through GL, GDK ends every frame by copying
// what cairo painted into the GL frame, and on a software GL that copy fetches the whole window back from
// the X server: a prompt left open over the world cost a tenth of a core. So a panel there is painted
// through GL too, from a picture GTK draws of it whenever anything inside it asks for a repaint. Its
// rounded corners are blended over the canvas picture beneath, redrawn first under the panel, so that no
// pixel of the panel's place is left to cairo.
#include "platform/gtk/GtkNative.hpp"

#include <epoxy/gl.h>

namespace {

constexpr const char* PictureKey = "gorum-panel-picture";

struct TPanelPicture {
    TGadget canvas = nullptr;
    TGlPicture picture;   // premultiplied
    bool drawing = false; // GTK is drawing the picture itself
};

// Called for the panel's window and everything inside it, whatever asks for the repaint.
void OnInvalidated(GdkWindow* window, cairo_region_t*) {
    gpointer widget = nullptr;
    gdk_window_get_user_data(window, &widget);
    if (widget == nullptr) return;
    auto* panel = static_cast<TPanelPicture*>(g_object_get_data(G_OBJECT(widget), PictureKey));
    if (panel != nullptr) panel->picture.stale = true;
}

void OnRealized(GtkWidget* body, gpointer) {
    gdk_window_set_invalidate_handler(gtk_widget_get_window(body), OnInvalidated);
}

void FreePicture(gpointer data) {
    auto* panel = static_cast<TPanelPicture*>(data);
    GtkFreePicture(panel->picture);
    delete panel;
}

gboolean OnPanelDraw(GtkWidget* body, cairo_t* cr, gpointer data) {
    auto* panel = static_cast<TPanelPicture*>(data);
    if (panel->drawing) return FALSE;
    if (!GtkPaintsThroughGl(body)) return FALSE;
    unsigned under = 0;
    int canvasW = 0, canvasH = 0;
    if (!GtkCanvasPicture(panel->canvas, under, canvasW, canvasH)) return FALSE;
    GtkWidget* holder = NativeOf(panel->canvas)->control;
    int x = 0, y = 0;
    if (!gtk_widget_translate_coordinates(body, holder, 0, 0, &x, &y)) return FALSE;
    const int w = gtk_widget_get_allocated_width(body), h = gtk_widget_get_allocated_height(body);
    // Only a panel wholly on the picture has it all beneath; any other is left to cairo.
    if (w < 1 || h < 1 || x < 0 || y < 0 || x + w > canvasW || y + h > canvasH) return FALSE;
    GtkRefreshPicture(panel->picture, w, h, CAIRO_FORMAT_ARGB32, [&](cairo_t* image) {
        panel->drawing = true;
        gtk_widget_draw(body, image);
        panel->drawing = false;
    });
    GdkWindow* own = gtk_widget_get_window(body);
    gdk_cairo_draw_from_gl(cr, own, static_cast<int>(under), GL_TEXTURE, 1, x, canvasH - y - h, w, h);
    gdk_cairo_draw_from_gl(cr, own, static_cast<int>(panel->picture.texture), GL_TEXTURE, 1, 0, 0, w, h);
    return TRUE;
}

} // namespace

void GtkPaintPanelThroughGl(GtkWidget* body, TGadget canvas) {
    auto* panel = new TPanelPicture;
    panel->canvas = canvas;
    g_object_set_data_full(G_OBJECT(body), PictureKey, panel, FreePicture);
    g_signal_connect(body, "draw", G_CALLBACK(OnPanelDraw), panel);
    g_signal_connect_after(body, "realize", G_CALLBACK(OnRealized), nullptr);
}
