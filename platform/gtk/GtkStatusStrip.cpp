// A window's status bar, in the strip below its client area. Once a canvas in the window draws with GL,
// GDK paints the whole window through GL every frame and copies anything cairo painted into that frame;
// on a software GL the copy fetches the entire window back from the X server, every frame, for a strip
// that never changes. So from then on the strip goes through GL too: GTK draws it once into a picture,
// which is drawn again only when the strip's size, style or state changes.
#include "platform/gtk/GtkNative.hpp"

#include <epoxy/gl.h>

namespace {

constexpr const char* StripKey = "gorum-status-strip";

struct TStatusStrip {
    GtkWidget* client = nullptr; // the strip is what the box holds below it
    GtkWidget* bar = nullptr;
    TGlPicture picture;
};

void MarkStale(GtkWidget*, gpointer data) {
    static_cast<TStatusStrip*>(data)->picture.stale = true;
}

void MarkStaleOnState(GtkWidget* widget, GtkStateFlags, gpointer data) {
    MarkStale(widget, data);
}

void FreeStrip(gpointer data) {
    auto* strip = static_cast<TStatusStrip*>(data);
    GtkFreePicture(strip->picture);
    delete strip;
}

// What GTK paints in the strip: the window's background, and the status bar over it.
void Draw(const TStatusStrip* strip, GtkWidget* toplevel, const GdkRectangle& area, cairo_t* cr) {
    gtk_render_background(gtk_widget_get_style_context(toplevel), cr, -area.x, -area.y,
                          gtk_widget_get_allocated_width(toplevel),
                          gtk_widget_get_allocated_height(toplevel));
    GtkAllocation bar;
    gtk_widget_get_allocation(strip->bar, &bar);
    cairo_translate(cr, bar.x - area.x, bar.y - area.y);
    gtk_widget_draw(strip->bar, cr);
}

// After the box's children, so that the picture lies over what they painted with cairo.
gboolean OnBoxDrawn(GtkWidget* box, cairo_t* cr, gpointer data) {
    auto* strip = static_cast<TStatusStrip*>(data);
    if (!GtkPaintsThroughGl(box)) return FALSE;
    GtkWidget* toplevel = gtk_widget_get_toplevel(box);
    GtkAllocation boxArea, clientArea;
    gtk_widget_get_allocation(box, &boxArea);
    gtk_widget_get_allocation(strip->client, &clientArea);
    const int top = clientArea.y + clientArea.height;
    const GdkRectangle area{boxArea.x, top, boxArea.width, boxArea.y + boxArea.height - top};
    if (area.width < 1 || area.height < 1) return FALSE;
    GtkRefreshPicture(strip->picture, area.width, area.height, CAIRO_FORMAT_RGB24,
                      [&](cairo_t* image) { Draw(strip, toplevel, area, image); });
    cairo_save(cr);
    cairo_translate(cr, area.x - boxArea.x, area.y - boxArea.y);
    gdk_cairo_draw_from_gl(cr, gtk_widget_get_window(toplevel), static_cast<int>(strip->picture.texture),
                           GL_TEXTURE, 1, 0, 0, area.width, area.height);
    cairo_restore(cr);
    return FALSE;
}

} // namespace

void GtkAddStatusBar(GtkWidget* box, GtkWidget* client) {
    auto* strip = new TStatusStrip;
    strip->client = client;
    strip->bar = gtk_statusbar_new();
    gtk_box_pack_end(GTK_BOX(box), strip->bar, FALSE, FALSE, 0);
    g_object_set_data_full(G_OBJECT(box), StripKey, strip, FreeStrip);
    g_signal_connect_after(box, "draw", G_CALLBACK(OnBoxDrawn), strip);
    for (GtkWidget* widget : {box, strip->bar}) {
        g_signal_connect(widget, "style-updated", G_CALLBACK(MarkStale), strip);
        g_signal_connect(widget, "state-flags-changed", G_CALLBACK(MarkStaleOnState), strip);
    }
}

void GtkSetStatusText(GtkWidget* box, const std::string& text) {
    auto* strip = static_cast<TStatusStrip*>(g_object_get_data(G_OBJECT(box), StripKey));
    if (strip == nullptr) return;
    GtkStatusbar* bar = GTK_STATUSBAR(strip->bar);
    const guint context = gtk_statusbar_get_context_id(bar, "game");
    gtk_statusbar_remove_all(bar, context);
    gtk_statusbar_push(bar, context, text.c_str());
    strip->picture.stale = true;
    gtk_widget_queue_draw(box);
}
