// A window's status bar, in the strip below its client area. Once a canvas in the window draws with GL,
// GDK paints the whole window through GL every frame and copies anything cairo painted into that frame;
// on a software GL the copy fetches the entire window back from the X server, every frame, for a strip
// that never changes. So from then on the strip goes through GL too: GTK draws it once into a picture,
// which is drawn again only when the strip's size, style or state changes.
#include "platform/gtk/GtkNative.hpp"

#include <epoxy/gl.h>

#include <algorithm>
#include <vector>

namespace {

struct TStatusStrip {
    GtkWidget* client = nullptr; // the strip is what the box holds below it
    GtkWidget* bar = nullptr;
    GLuint texture = 0; // in the canvases' context; bottom row first, as GDK draws textures
    int w = 0, h = 0;
    bool stale = true;
};

void MarkStale(GtkWidget*, gpointer data) {
    static_cast<TStatusStrip*>(data)->stale = true;
}

void MarkStaleOnState(GtkWidget* widget, GtkStateFlags, gpointer data) {
    MarkStale(widget, data);
}

void FreeStrip(gpointer data) {
    auto* strip = static_cast<TStatusStrip*>(data);
    if (strip->texture != 0 && GtkCanvasContext() != nullptr) {
        gdk_gl_context_make_current(GtkCanvasContext());
        glDeleteTextures(1, &strip->texture);
    }
    delete strip;
}

// What GTK paints in the strip: the window's background, and the status bar over it.
void Redraw(TStatusStrip* strip, GtkWidget* toplevel, const GdkRectangle& area) {
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, area.width, area.height);
    cairo_t* cr = cairo_create(image);
    gtk_render_background(gtk_widget_get_style_context(toplevel), cr, -area.x, -area.y,
                          gtk_widget_get_allocated_width(toplevel),
                          gtk_widget_get_allocated_height(toplevel));
    GtkAllocation bar;
    gtk_widget_get_allocation(strip->bar, &bar);
    cairo_translate(cr, bar.x - area.x, bar.y - area.y);
    gtk_widget_draw(strip->bar, cr);
    cairo_destroy(cr);
    cairo_surface_flush(image);

    const int stride = cairo_image_surface_get_stride(image);
    const uint8_t* data = cairo_image_surface_get_data(image);
    std::vector<uint8_t> rows(size_t{4} * static_cast<size_t>(area.width) * static_cast<size_t>(area.height));
    for (int row = 0; row < area.height; ++row)
        std::copy_n(data + static_cast<ptrdiff_t>(stride) * (area.height - 1 - row), size_t{4} * area.width,
                    rows.begin() + static_cast<ptrdiff_t>(4) * area.width * row);
    cairo_surface_destroy(image);

    gdk_gl_context_make_current(GtkCanvasContext());
    if (strip->texture == 0) glGenTextures(1, &strip->texture);
    glBindTexture(GL_TEXTURE_2D, strip->texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, area.width, area.height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 rows.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    glFlush(); // GDK draws it from its own context
    strip->w = area.width;
    strip->h = area.height;
    strip->stale = false;
}

// After the box's children, so that the picture lies over what they painted with cairo.
gboolean OnBoxDrawn(GtkWidget* box, cairo_t* cr, gpointer data) {
    auto* strip = static_cast<TStatusStrip*>(data);
    GdkGLContext* context = GtkCanvasContext();
    GtkWidget* toplevel = gtk_widget_get_toplevel(box);
    GdkWindow* window = gtk_widget_get_window(toplevel);
    if (context == nullptr || window == nullptr || gdk_gl_context_get_window(context) != window) return FALSE;
    GtkAllocation boxArea, clientArea;
    gtk_widget_get_allocation(box, &boxArea);
    gtk_widget_get_allocation(strip->client, &clientArea);
    const int top = clientArea.y + clientArea.height;
    const GdkRectangle area{boxArea.x, top, boxArea.width, boxArea.y + boxArea.height - top};
    if (area.width < 1 || area.height < 1) return FALSE;
    if (strip->stale || strip->w != area.width || strip->h != area.height) Redraw(strip, toplevel, area);
    cairo_save(cr);
    cairo_translate(cr, area.x - boxArea.x, area.y - boxArea.y);
    gdk_cairo_draw_from_gl(cr, window, static_cast<int>(strip->texture), GL_TEXTURE, 1, 0, 0, area.width,
                           area.height);
    cairo_restore(cr);
    return FALSE;
}

} // namespace

void GtkAddStatusBar(GtkWidget* box, GtkWidget* client) {
    auto* strip = new TStatusStrip;
    strip->client = client;
    strip->bar = gtk_statusbar_new();
    gtk_box_pack_end(GTK_BOX(box), strip->bar, FALSE, FALSE, 0);
    g_object_set_data_full(G_OBJECT(box), "gorum-status-strip", strip, FreeStrip);
    g_signal_connect_after(box, "draw", G_CALLBACK(OnBoxDrawn), strip);
    for (GtkWidget* widget : {box, strip->bar}) {
        g_signal_connect(widget, "style-updated", G_CALLBACK(MarkStale), strip);
        g_signal_connect(widget, "state-flags-changed", G_CALLBACK(MarkStaleOnState), strip);
    }
}
