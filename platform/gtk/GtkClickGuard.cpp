// Every button event of the toolkit passes the click guard before GTK sees it: a quick second click
// that lands on another control or on a page that has changed meanwhile is dropped.
#include "platform/ClickGuard.hpp"
#include "platform/gtk/GtkNative.hpp"

#include <memory>

namespace {

std::unique_ptr<TClickGuard> Guard;

// The innermost gadget whose widget holds the event's widget, or none.
TGadget GadgetUnder(GdkEvent* event) {
    for (GtkWidget* widget = gtk_get_event_widget(event); widget != nullptr;
         widget = gtk_widget_get_parent(widget)) {
        for (TGadget gadget : AllGadgets()) {
            const TGtkNative* native = NativeOf(gadget);
            if (native != nullptr && (native->outer == widget || native->control == widget)) return gadget;
        }
    }
    return nullptr;
}

void Filter(GdkEvent* event, gpointer) {
    const auto type = gdk_event_get_event_type(event);
    guint button = 0;
    if (type == GDK_BUTTON_PRESS || type == GDK_2BUTTON_PRESS || type == GDK_3BUTTON_PRESS ||
        type == GDK_BUTTON_RELEASE) {
        gdk_event_get_button(event, &button);
    }
    const int b = static_cast<int>(button);
    bool pass = true;
    if (type == GDK_BUTTON_PRESS) {
        double x = 0, y = 0;
        gdk_event_get_root_coords(event, &x, &y);
        const TGadget gadget = GadgetUnder(event);
        const std::string page =
            gadget != nullptr && gadget->kind == TGadgetKind::HtmlView ? gadget->url : "";
        pass = Guard->Press(gdk_event_get_time(event), b, static_cast<int>(x), static_cast<int>(y), gadget,
                            page);
    } else if (type == GDK_2BUTTON_PRESS || type == GDK_3BUTTON_PRESS) {
        pass = Guard->Repeat(b);
    } else if (type == GDK_BUTTON_RELEASE) {
        pass = Guard->Release(b);
    }
    if (pass) gtk_main_do_event(event);
}

} // namespace

void GtkInstallClickGuard() {
    gint pairMs = 400, pairDistance = 5;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &pairMs, "gtk-double-click-distance",
                 &pairDistance, nullptr);
    Guard = std::make_unique<TClickGuard>(static_cast<uint32_t>(pairMs), pairDistance);
    gdk_event_handler_set(Filter, nullptr, nullptr);
}
