// Canvases: a back buffer to draw into at any time, shown by the canvas widget itself when it paints,
// pointer events in canvas coordinates, and the children's container above the picture.
// Nothing of GL is touched before the game first draws on a canvas: loading the GL driver costs more
// than everything else the main menu needs, and the menu shows no canvas. Until then the canvas is black.
// The widget hands the presented texture to GDK, which draws it straight into the window's own GL
// frame: no GL area, no second context, no extra pass over the picture. The buffers keep GL's row order,
// bottom row first, which is the order GDK draws textures in.
#include "platform/Backend.hpp"
#include "platform/EventChain.hpp"
#include "platform/gtk/GlCanvas.hpp"
#include "platform/gtk/GtkNative.hpp"

#include <epoxy/gl.h>

#include <algorithm>
#include <vector>

struct TGtkCanvas {
    GtkWidget* holder = nullptr; // shows the picture and takes the pointer events
    // In the shared context: what the renderer draws into, and a copy of the presented picture kept
    // for while the back buffer is being drawn on again.
    GLuint backFbo = 0, backTexture = 0, frontFbo = 0, frontTexture = 0;
    int bufferW = 0, bufferH = 0;
    GLuint shown = 0;       // the texture the widget paints; none before the first present
    gint64 presentedUs = 0; // when the picture now waiting for the widget's paint was presented; 0: none
    guint wakeUp = 0;       // the loop's wake-up for the end of that wait
    // A window other than the shared context's cannot see its textures; it gets the picture as pixels.
    std::vector<uint8_t> pixels;
};

namespace {

// One context for all drawing, so that a texture uploaded once draws on every canvas. It is made from
// the first canvas's window; that window's painting shares its textures.
GdkGLContext* SharedContext = nullptr;
bool ContextFailed = false;

TGtkCanvas* CanvasOf(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    return native == nullptr || gadget->kind != TGadgetKind::Canvas ? nullptr : native->canvas;
}

bool EnsureContext(TGtkCanvas* canvas) {
    if (SharedContext != nullptr) return true;
    if (ContextFailed) return false;
    GtkWidget* toplevel = gtk_widget_get_toplevel(canvas->holder);
    if (!gtk_widget_is_toplevel(toplevel)) return false;
    // Realizing without showing lets the game draw before its window is on screen.
    gtk_widget_realize(toplevel);
    GError* error = nullptr;
    GdkGLContext* context = gdk_window_create_gl_context(gtk_widget_get_window(toplevel), &error);
    if (context != nullptr) {
        gdk_gl_context_set_required_version(context, 3, 3);
        if (!gdk_gl_context_realize(context, &error)) g_clear_object(&context);
    }
    if (error != nullptr) g_error_free(error);
    if (context == nullptr) {
        ContextFailed = true;
        return false;
    }
    SharedContext = context;
    return true;
}

// Without alpha, so that GDK lays the picture over the window as it is instead of blending it with
// what would lie beneath. The renderer never reads the alpha of what it has drawn.
void MakeTarget(GLuint& fbo, GLuint& texture, int w, int h) {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void FreeTargets(TGtkCanvas* canvas) {
    const GLuint fbos[] = {canvas->backFbo, canvas->frontFbo};
    const GLuint textures[] = {canvas->backTexture, canvas->frontTexture};
    glDeleteFramebuffers(2, fbos);
    glDeleteTextures(2, textures);
    canvas->backFbo = canvas->frontFbo = canvas->backTexture = canvas->frontTexture = 0;
    canvas->shown = 0;
    canvas->bufferW = canvas->bufferH = 0;
}

// Both buffers follow the canvas size; a new size starts black. Needs the shared context current.
void EnsureTargets(TGtkCanvas* canvas, int w, int h) {
    if (w < 1) w = 1;
    if (h < 1) h = 1;
    if (canvas->backFbo != 0 && canvas->bufferW == w && canvas->bufferH == h) return;
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    if (canvas->backFbo != 0) FreeTargets(canvas);
    MakeTarget(canvas->backFbo, canvas->backTexture, w, h);
    MakeTarget(canvas->frontFbo, canvas->frontTexture, w, h);
    canvas->bufferW = w;
    canvas->bufferH = h;
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(bound));
}

void OnMap(GtkWidget*, gpointer data) {
    static_cast<TGadget>(data)->repaintPending = true;
}

// Off screen there is nothing to paint, and mapping it again asks for a paint anyway. Without this the
// canvas that start-up shows for a moment would be drawn behind the menu page.
void OnUnmap(GtkWidget*, gpointer data) {
    static_cast<TGadget>(data)->repaintPending = false;
}

void EmitPointer(int id, TGadget canvas, int data, double x, double y, guint state) {
    TEvent event;
    event.id = id;
    event.source = canvas;
    event.data = data;
    event.x = static_cast<int>(x);
    event.y = static_cast<int>(y);
    event.mods = (state & GDK_SHIFT_MASK ? 1 : 0) | (state & GDK_CONTROL_MASK ? 2 : 0);
    EmitEvent(event);
}

// The shared context's window draws the texture itself; any other window gets its pixels.
void PaintPixels(TGtkCanvas* canvas, cairo_t* cr) {
    const int w = canvas->bufferW, h = canvas->bufferH;
    gdk_gl_context_make_current(SharedContext);
    canvas->pixels.resize(size_t{4} * static_cast<size_t>(w) * static_cast<size_t>(h));
    glBindFramebuffer(GL_READ_FRAMEBUFFER,
                      canvas->shown == canvas->backTexture ? canvas->backFbo : canvas->frontFbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, canvas->pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, canvas->backFbo);
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    const int stride = cairo_image_surface_get_stride(image);
    uint8_t* data = cairo_image_surface_get_data(image);
    for (int row = 0; row < h; ++row) {
        const uint8_t* from = canvas->pixels.data() + size_t{4} * static_cast<size_t>(w) * (h - 1 - row);
        auto* to = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(stride) * row);
        for (int x = 0; x < w; ++x, from += 4)
            to[x] = uint32_t{from[0]} << 16 | uint32_t{from[1]} << 8 | from[2];
    }
    cairo_surface_mark_dirty(image);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(image);
}

gboolean OnHolderDraw(GtkWidget* holder, cairo_t* cr, gpointer data) {
    auto* canvas = static_cast<TGtkCanvas*>(data);
    canvas->presentedUs = 0;
    if (canvas->shown == 0 || SharedContext == nullptr) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        return FALSE;
    }
    if (!GtkPaintsThroughGl(holder)) {
        PaintPixels(canvas, cr);
        return FALSE;
    }
    gdk_cairo_draw_from_gl(cr, gtk_widget_get_window(holder), static_cast<int>(canvas->shown), GL_TEXTURE, 1,
                           0, 0, canvas->bufferW, canvas->bufferH);
    return FALSE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* motion, gpointer data) {
    EmitPointer(MouseMove, static_cast<TGadget>(data), 0, motion->x, motion->y, motion->state);
    return TRUE;
}

// Leaving for a panel on the canvas or for another window ends every hover; coming back (also when a
// panel under the pointer goes away) is a move to where the pointer is. While a button is held the
// canvas keeps the pointer, so a drag is never cut short.
gboolean OnCrossing(GtkWidget*, GdkEventCrossing* crossing, gpointer data) {
    constexpr guint Buttons = GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK;
    if ((crossing->state & Buttons) != 0) return FALSE;
    if (crossing->type == GDK_ENTER_NOTIFY)
        EmitPointer(MouseMove, static_cast<TGadget>(data), 0, crossing->x, crossing->y, crossing->state);
    else
        EmitPointer(MouseLeave, static_cast<TGadget>(data), 0, crossing->x, crossing->y, crossing->state);
    return FALSE;
}

gboolean OnButton(GtkWidget*, GdkEventButton* button, gpointer data) {
    // GTK numbers the middle button 2 and the right one 3; the game the other way round. Double-click
    // reports come on top of the plain presses and are left out.
    const int buttons[] = {0, 1, 3, 2};
    if (button->button < 1 || button->button > 3) return FALSE;
    if (button->type != GDK_BUTTON_PRESS && button->type != GDK_BUTTON_RELEASE) return TRUE;
    EmitPointer(button->type == GDK_BUTTON_PRESS ? MouseDown : MouseUp, static_cast<TGadget>(data),
                buttons[button->button], button->x, button->y, button->state);
    return TRUE;
}

} // namespace

void GtkMakeCanvas(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    auto* canvas = new TGtkCanvas;
    native->canvas = canvas;
    GtkWidget* fixed = gtk_fixed_new();
    GtkWidget* holder = gtk_event_box_new();
    canvas->holder = holder;
    gtk_widget_set_app_paintable(holder, TRUE);
    gtk_widget_add_events(holder, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                      GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
    gtk_widget_set_size_request(holder, gadget->w, gadget->h);
    g_signal_connect(holder, "draw", G_CALLBACK(OnHolderDraw), canvas);
    g_signal_connect(holder, "map", G_CALLBACK(OnMap), gadget);
    g_signal_connect(holder, "unmap", G_CALLBACK(OnUnmap), gadget);
    g_signal_connect(holder, "motion-notify-event", G_CALLBACK(OnMotion), gadget);
    g_signal_connect(holder, "button-press-event", G_CALLBACK(OnButton), gadget);
    g_signal_connect(holder, "button-release-event", G_CALLBACK(OnButton), gadget);
    g_signal_connect(holder, "enter-notify-event", G_CALLBACK(OnCrossing), gadget);
    g_signal_connect(holder, "leave-notify-event", G_CALLBACK(OnCrossing), gadget);
    // First in the container, so that the canvas's children lie above the picture and its pointer area.
    gtk_fixed_put(GTK_FIXED(fixed), holder, 0, 0);
    gtk_widget_show(holder);
    native->outer = fixed;
    native->fixed = fixed;
    native->control = holder;
}

void GtkResizeCanvas(TGadget gadget) {
    TGtkCanvas* canvas = CanvasOf(gadget);
    if (canvas == nullptr) return;
    gtk_widget_set_size_request(canvas->holder, gadget->w, gadget->h);
    gadget->repaintPending = true;
}

void GtkFreeCanvas(TGadget gadget) {
    TGtkCanvas* canvas = CanvasOf(gadget);
    if (canvas == nullptr) return;
    if (SharedContext != nullptr && canvas->backFbo != 0) {
        gdk_gl_context_make_current(SharedContext);
        FreeTargets(canvas);
    }
    // Destroyed here rather than with its container, so that it unrealizes while this state is alive.
    g_signal_handlers_disconnect_by_data(canvas->holder, gadget);
    g_signal_handlers_disconnect_by_data(canvas->holder, canvas);
    gtk_widget_destroy(canvas->holder);
    if (canvas->wakeUp != 0) g_source_remove(canvas->wakeUp);
    delete canvas;
    NativeOf(gadget)->canvas = nullptr;
    NativeOf(gadget)->control = nullptr;
}

bool GlCanvasBind(TGadget gadget) {
    TGtkCanvas* canvas = CanvasOf(gadget);
    if (canvas == nullptr || !EnsureContext(canvas)) return false;
    gdk_gl_context_make_current(SharedContext);
    EnsureTargets(canvas, gadget->w, gadget->h);
    // About to draw over the picture on screen: keep a copy for the widget to paint meanwhile. A plain
    // copy where the driver has one: a software GL copies memory instead of drawing a quad.
    if (canvas->shown == canvas->backTexture) {
        static const bool canCopy = epoxy_gl_version() >= 43 || epoxy_has_gl_extension("GL_ARB_copy_image");
        if (canCopy) {
            glCopyImageSubData(canvas->backTexture, GL_TEXTURE_2D, 0, 0, 0, 0, canvas->frontTexture,
                               GL_TEXTURE_2D, 0, 0, 0, 0, canvas->bufferW, canvas->bufferH, 1);
        } else {
            glBindFramebuffer(GL_READ_FRAMEBUFFER, canvas->backFbo);
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, canvas->frontFbo);
            glBlitFramebuffer(0, 0, canvas->bufferW, canvas->bufferH, 0, 0, canvas->bufferW, canvas->bufferH,
                              GL_COLOR_BUFFER_BIT, GL_NEAREST);
        }
        canvas->shown = canvas->frontTexture;
        glFlush(); // GDK reads the copy from its own context
    }
    // The context is ours alone, so the back buffer simply stays bound between calls. Binding another
    // framebuffer makes a software GL finish everything drawn so far; doing it per sprite cost a frame.
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    if (static_cast<GLuint>(bound) != canvas->backFbo) glBindFramebuffer(GL_FRAMEBUFFER, canvas->backFbo);
    glViewport(0, 0, canvas->bufferW, canvas->bufferH);
    return true;
}

void GlCanvasPresent(TGadget gadget) {
    TGtkCanvas* canvas = CanvasOf(gadget);
    if (canvas == nullptr || SharedContext == nullptr || canvas->backFbo == 0) return;
    gdk_gl_context_make_current(SharedContext);
    canvas->shown = canvas->backTexture;
    if (gtk_widget_is_drawable(canvas->holder)) canvas->presentedUs = g_get_monotonic_time();
    // GDK reads the texture from its own context.
    glFlush();
    // The canvas itself too, so that a panel holding it learns that its picture changed.
    gtk_widget_queue_draw(canvas->holder);
    // The whole window: GDK ends a partial repaint by blitting into the front buffer, which a software GL
    // does by fetching the whole window back from the X server; a whole repaint ends in a plain swap.
    gtk_widget_queue_draw(gtk_widget_get_toplevel(canvas->holder));
}

bool GtkPaintsThroughGl(GtkWidget* widget) {
    GdkWindow* window = gtk_widget_get_window(gtk_widget_get_toplevel(widget));
    return SharedContext != nullptr && window != nullptr &&
           window == gdk_gl_context_get_window(SharedContext);
}

void GtkRefreshPicture(TGlPicture& picture, int w, int h, cairo_format_t format,
                       const std::function<void(cairo_t*)>& draw) {
    if (!picture.stale && picture.w == w && picture.h == h) return;
    cairo_surface_t* image = cairo_image_surface_create(format, w, h);
    cairo_t* cr = cairo_create(image);
    draw(cr);
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
    gdk_gl_context_make_current(SharedContext);
    GLuint name = picture.texture;
    if (name == 0) glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    // Without alpha where the picture has none, so that GDK lays it over the window as it is.
    const GLint inside = format == CAIRO_FORMAT_RGB24 ? GL_RGB8 : GL_RGBA8;
    glTexImage2D(GL_TEXTURE_2D, 0, inside, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    glFlush(); // GDK draws it from its own context
    picture.texture = name;
    picture.w = w;
    picture.h = h;
    picture.stale = false;
}

void GtkFreePicture(const TGlPicture& picture) {
    if (picture.texture == 0 || SharedContext == nullptr) return;
    gdk_gl_context_make_current(SharedContext);
    const GLuint name = picture.texture;
    glDeleteTextures(1, &name);
}

bool GtkCanvasPicture(TGadget gadget, unsigned& texture, int& w, int& h) {
    TGtkCanvas* canvas = CanvasOf(gadget);
    if (canvas == nullptr || canvas->shown == 0) return false;
    texture = canvas->shown;
    w = canvas->bufferW;
    h = canvas->bufferH;
    return true;
}

bool GlCanvasStarted(TGadget gadget) {
    TGtkCanvas* canvas = CanvasOf(gadget);
    return canvas != nullptr && canvas->backFbo != 0;
}

// Paced by the widget's paints, as by a display's retrace; a paint that does not come within a few
// frames (a window the toolkit stopped painting) holds nothing up for longer.
bool BackendCanvasReady(TGadget gadget) {
    constexpr gint64 LongestWaitUs = 50000;
    TGtkCanvas* canvas = CanvasOf(gadget);
    if (canvas == nullptr || canvas->presentedUs == 0) return true;
    const gint64 waited = g_get_monotonic_time() - canvas->presentedUs;
    if (waited >= LongestWaitUs) {
        canvas->presentedUs = 0;
        return true;
    }
    // Wakes the loop when the wait is over, should nothing else.
    if (canvas->wakeUp == 0) {
        canvas->wakeUp = g_timeout_add(
            static_cast<guint>((LongestWaitUs - waited) / 1000 + 1),
            [](gpointer data) {
                static_cast<TGtkCanvas*>(data)->wakeUp = 0;
                return G_SOURCE_REMOVE;
            },
            canvas);
    }
    return false;
}
