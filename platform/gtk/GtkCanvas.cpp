// Canvases: a GL area whose picture is the canvas's front buffer, a back buffer to draw into at any
// time, pointer events in canvas coordinates, and the children's container above the picture.
// Nothing of GL is touched before the game first draws on a canvas: loading the GL driver costs more
// than everything else the main menu needs, and the menu shows no canvas. Until then the canvas is a
// black holder; the GL area goes into it with the first picture presented.
#include "platform/EventChain.hpp"
#include "platform/gtk/GlCanvas.hpp"
#include "platform/gtk/GtkNative.hpp"

#include <epoxy/gl.h>

#include <vector>

struct TGtkCanvas {
    GtkWidget* holder = nullptr; // black until the area is in it; takes the pointer events
    GtkWidget* area = nullptr;   // made with the first present
    // In the shared context: what the renderer draws into, and what was last presented.
    GLuint backFbo = 0, backTexture = 0, frontFbo = 0, frontTexture = 0;
    int bufferW = 0, bufferH = 0;
    // In the area's own context, which shares textures but not framebuffers.
    GLuint readFbo = 0;
    // An area of another window than the shared context's cannot see its textures; it gets the
    // presented picture as pixels instead.
    int sharesTextures = -1; // not known before the first render
    std::vector<uint8_t> pixels;
    bool pixelsFresh = false;
    GLuint areaTexture = 0;
};

namespace {

// One context for all drawing, so that a texture uploaded once draws on every canvas. It is made from
// the first canvas's window; the areas of that window share its textures.
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

void MakeTarget(GLuint& fbo, GLuint& texture, int w, int h) {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
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

// Needs the area's context current.
void UploadPixels(TGtkCanvas* canvas) {
    if (canvas->areaTexture == 0) glGenTextures(1, &canvas->areaTexture);
    glBindTexture(GL_TEXTURE_2D, canvas->areaTexture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, canvas->bufferW, canvas->bufferH, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 canvas->pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    canvas->pixelsFresh = false;
}

gboolean OnRender(GtkGLArea* area, GdkGLContext* context, gpointer data) {
    auto* canvas = static_cast<TGtkCanvas*>(data);
    const int scale = gtk_widget_get_scale_factor(GTK_WIDGET(area));
    const int areaW = gtk_widget_get_allocated_width(GTK_WIDGET(area)) * scale;
    const int areaH = gtk_widget_get_allocated_height(GTK_WIDGET(area)) * scale;
    GLint target = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &target);
    glViewport(0, 0, areaW, areaH);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    if (canvas->frontTexture == 0) return TRUE;
    canvas->sharesTextures =
        gdk_gl_context_get_shared_context(context) == gdk_gl_context_get_shared_context(SharedContext);
    if (canvas->sharesTextures == 0 && canvas->pixelsFresh) UploadPixels(canvas);
    const GLuint source = canvas->sharesTextures == 1 ? canvas->frontTexture : canvas->areaTexture;
    if (source == 0) return TRUE;
    if (canvas->readFbo == 0) glGenFramebuffers(1, &canvas->readFbo);
    // Attached again on every render: that is what makes the other context's latest pixels visible here.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, canvas->readFbo);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, source, 0);
    if (glCheckFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
        // The buffers keep the canvas's top row first; the screen wants it last.
        glBlitFramebuffer(0, 0, canvas->bufferW, canvas->bufferH, 0, areaH, canvas->bufferW * scale,
                          areaH - canvas->bufferH * scale, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(target));
    return TRUE;
}

void OnUnrealize(GtkWidget* area, gpointer data) {
    auto* canvas = static_cast<TGtkCanvas*>(data);
    if (canvas->readFbo == 0 && canvas->areaTexture == 0) return;
    gtk_gl_area_make_current(GTK_GL_AREA(area));
    if (gtk_gl_area_get_error(GTK_GL_AREA(area)) == nullptr) {
        glDeleteFramebuffers(1, &canvas->readFbo);
        glDeleteTextures(1, &canvas->areaTexture);
    }
    canvas->readFbo = 0;
    canvas->areaTexture = 0;
    canvas->sharesTextures = -1;
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

gboolean OnHolderDraw(GtkWidget*, cairo_t* cr, gpointer) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    return FALSE;
}

void EnsureArea(TGtkCanvas* canvas) {
    if (canvas->area != nullptr) return;
    GtkWidget* area = gtk_gl_area_new();
    canvas->area = area;
    gtk_gl_area_set_required_version(GTK_GL_AREA(area), 3, 3);
    // The picture changes only when the game presents, not whenever GTK redraws around it.
    gtk_gl_area_set_auto_render(GTK_GL_AREA(area), FALSE);
    g_signal_connect(area, "render", G_CALLBACK(OnRender), canvas);
    g_signal_connect(area, "unrealize", G_CALLBACK(OnUnrealize), canvas);
    gtk_container_add(GTK_CONTAINER(canvas->holder), area);
    gtk_widget_show(area);
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* motion, gpointer data) {
    EmitPointer(MouseMove, static_cast<TGadget>(data), 0, motion->x, motion->y, motion->state);
    return TRUE;
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
    gtk_widget_add_events(holder, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    gtk_widget_set_size_request(holder, gadget->w, gadget->h);
    g_signal_connect(holder, "draw", G_CALLBACK(OnHolderDraw), nullptr);
    g_signal_connect(holder, "map", G_CALLBACK(OnMap), gadget);
    g_signal_connect(holder, "unmap", G_CALLBACK(OnUnmap), gadget);
    g_signal_connect(holder, "motion-notify-event", G_CALLBACK(OnMotion), gadget);
    g_signal_connect(holder, "button-press-event", G_CALLBACK(OnButton), gadget);
    g_signal_connect(holder, "button-release-event", G_CALLBACK(OnButton), gadget);
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
    gtk_widget_destroy(canvas->holder);
    delete canvas;
    NativeOf(gadget)->canvas = nullptr;
    NativeOf(gadget)->control = nullptr;
}

bool GlCanvasBind(TGadget gadget) {
    TGtkCanvas* canvas = CanvasOf(gadget);
    if (canvas == nullptr || !EnsureContext(canvas)) return false;
    gdk_gl_context_make_current(SharedContext);
    EnsureTargets(canvas, gadget->w, gadget->h);
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
    GLint read = 0, draw = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
    // A plain copy where the driver has one: a software GL copies memory instead of drawing a quad.
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
    if (canvas->sharesTextures != 1) {
        canvas->pixels.resize(static_cast<size_t>(canvas->bufferW) * static_cast<size_t>(canvas->bufferH) *
                              4);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, canvas->frontFbo);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, canvas->bufferW, canvas->bufferH, GL_RGBA, GL_UNSIGNED_BYTE,
                     canvas->pixels.data());
        canvas->pixelsFresh = true;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
    // The area reads the front buffer from its own context.
    glFlush();
    EnsureArea(canvas);
    gtk_gl_area_queue_render(GTK_GL_AREA(canvas->area));
}

bool GlCanvasStarted(TGadget gadget) {
    TGtkCanvas* canvas = CanvasOf(gadget);
    return canvas != nullptr && canvas->backFbo != 0;
}
