// Panels lying on a canvas. Once the canvas's window paints through GL, GDK ends every frame by copying
// what cairo painted into the GL frame, and on a software GL that copy fetches the whole window back from
// the X server: a prompt left open over the world cost a tenth of a core. So a panel there is painted
// through GL too, from a picture GTK draws of it whenever anything inside it asks for a repaint. Its
// rounded corners are blended over the canvas picture beneath, redrawn first under the panel, so that no
// pixel of the panel's place is left to cairo.
#include "platform/gtk/GtkNative.hpp"

#include <epoxy/gl.h>

#include <algorithm>
#include <vector>

namespace {

constexpr const char* PictureKey = "gorum-panel-picture";

struct TPanelPicture {
    TGadget canvas = nullptr;
    GLuint texture = 0; // premultiplied, bottom row first, as GDK draws textures
    int w = 0, h = 0;
    bool stale = true;
    bool drawing = false; // GTK is drawing the picture itself
};

// Called for the panel's window and everything inside it, whatever asks for the repaint.
void OnInvalidated(GdkWindow* window, cairo_region_t*) {
    gpointer widget = nullptr;
    gdk_window_get_user_data(window, &widget);
    if (widget == nullptr) return;
    auto* picture = static_cast<TPanelPicture*>(g_object_get_data(G_OBJECT(widget), PictureKey));
    if (picture != nullptr) picture->stale = true;
}

void OnRealized(GtkWidget* body, gpointer) {
    gdk_window_set_invalidate_handler(gtk_widget_get_window(body), OnInvalidated);
}

void FreePicture(gpointer data) {
    auto* picture = static_cast<TPanelPicture*>(data);
    if (picture->texture != 0 && GtkCanvasContext() != nullptr) {
        gdk_gl_context_make_current(GtkCanvasContext());
        glDeleteTextures(1, &picture->texture);
    }
    delete picture;
}

void Redraw(TPanelPicture* picture, GtkWidget* body, int w, int h) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(image);
    picture->drawing = true;
    gtk_widget_draw(body, cr);
    picture->drawing = false;
    cairo_destroy(cr);
    cairo_surface_flush(image);
    const int stride = cairo_image_surface_get_stride(image);
    const uint8_t* data = cairo_image_surface_get_data(image);
    const size_t rowBytes = size_t{4} * static_cast<size_t>(w);
    std::vector<uint8_t> rows(rowBytes * static_cast<size_t>(h));
    for (int row = 0; row < h; ++row)
        std::copy_n(data + static_cast<ptrdiff_t>(stride) * (h - 1 - row), rowBytes,
                    rows.begin() + static_cast<ptrdiff_t>(rowBytes) * row);
    cairo_surface_destroy(image);

    gdk_gl_context_make_current(GtkCanvasContext());
    if (picture->texture == 0) glGenTextures(1, &picture->texture);
    glBindTexture(GL_TEXTURE_2D, picture->texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    glFlush(); // GDK draws it from its own context
    picture->w = w;
    picture->h = h;
    picture->stale = false;
}

gboolean OnPanelDraw(GtkWidget* body, cairo_t* cr, gpointer data) {
    auto* picture = static_cast<TPanelPicture*>(data);
    if (picture->drawing) return FALSE;
    GdkGLContext* context = GtkCanvasContext();
    GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(body));
    if (context == nullptr || window == nullptr || gdk_gl_context_get_window(context) != window) return FALSE;
    unsigned under = 0;
    int canvasW = 0, canvasH = 0;
    if (!GtkCanvasPicture(picture->canvas, under, canvasW, canvasH)) return FALSE;
    GtkWidget* holder = NativeOf(picture->canvas)->control;
    int x = 0, y = 0;
    if (!gtk_widget_translate_coordinates(body, holder, 0, 0, &x, &y)) return FALSE;
    const int w = gtk_widget_get_allocated_width(body), h = gtk_widget_get_allocated_height(body);
    // Only a panel wholly on the picture has it all beneath; any other is left to cairo.
    if (w < 1 || h < 1 || x < 0 || y < 0 || x + w > canvasW || y + h > canvasH) return FALSE;
    if (picture->stale || picture->w != w || picture->h != h) Redraw(picture, body, w, h);
    GdkWindow* own = gtk_widget_get_window(body);
    gdk_cairo_draw_from_gl(cr, own, static_cast<int>(under), GL_TEXTURE, 1, x, canvasH - y - h, w, h);
    gdk_cairo_draw_from_gl(cr, own, static_cast<int>(picture->texture), GL_TEXTURE, 1, 0, 0, w, h);
    return TRUE;
}

} // namespace

void GtkPaintPanelThroughGl(GtkWidget* body, TGadget canvas) {
    auto* picture = new TPanelPicture;
    picture->canvas = canvas;
    g_object_set_data_full(G_OBJECT(body), PictureKey, picture, FreePicture);
    g_signal_connect(body, "draw", G_CALLBACK(OnPanelDraw), picture);
    g_signal_connect_after(body, "realize", G_CALLBACK(OnRealized), nullptr);
}
