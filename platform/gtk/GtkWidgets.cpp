// Gadget records mirrored in GTK widgets: windows, panels, buttons, labels and list boxes here;
// canvases and HTML views in their own files.
#include "platform/Backend.hpp"
#include "platform/EventChain.hpp"
#include "platform/ImageData.hpp"
#include "platform/gtk/GtkKeys.hpp"
#include "platform/gtk/GtkNative.hpp"

namespace {

void Emit(int id, TGadget source, int data = 0, int x = 0, int y = 0, int mods = 0) {
    TEvent event;
    event.id = id;
    event.source = source;
    event.data = data;
    event.x = x;
    event.y = y;
    event.mods = mods;
    EmitEvent(event);
}

void AddClasses(GtkWidget* widget, std::initializer_list<const char*> classes) {
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    for (const char* name : classes)
        gtk_style_context_add_class(context, name);
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    // The game decides what closing means; the window stays.
    Emit(WindowClose, static_cast<TGadget>(data));
    return TRUE;
}

gboolean OnKey(GtkWidget*, GdkEventKey* key, gpointer data) {
    const int code = WindowsKeyCode(key->keyval);
    if (code == 0) return FALSE;
    Emit(key->type == GDK_KEY_PRESS ? KeyDown : KeyUp, static_cast<TGadget>(data), code, 0, 0,
         WindowsKeyMods(key->state));
    // Escape belongs to the game whatever control has the focus; other keys go on to that control.
    return code == KeyEscape ? TRUE : FALSE;
}

gboolean OnConfigure(GtkWidget*, GdkEventConfigure* configure, gpointer data) {
    auto gadget = static_cast<TGadget>(data);
    TGtkNative* native = NativeOf(gadget);
    if (configure->x != native->lastX || configure->y != native->lastY) {
        native->lastX = configure->x;
        native->lastY = configure->y;
        Emit(WindowMove, gadget, 0, configure->x, configure->y);
    }
    return FALSE;
}

void OnClientAllocated(GtkWidget*, GdkRectangle* area, gpointer data) {
    auto gadget = static_cast<TGadget>(data);
    TGtkNative* native = NativeOf(gadget);
    if (area->width == native->lastW && area->height == native->lastH) return;
    native->lastW = area->width;
    native->lastH = area->height;
    // Only a resizable window's client area can differ from what the game asked for.
    if ((gadget->style & StyleResizable) != 0) {
        gadget->w = area->width;
        gadget->h = area->height;
    }
    Emit(WindowSize, gadget, 0, area->width, area->height);
}

void OnClicked(GtkButton*, gpointer data) {
    Emit(GadgetAction, static_cast<TGadget>(data));
}

void OnSelectionChanged(GtkTreeSelection* selection, gpointer data) {
    auto listBox = static_cast<TGadget>(data);
    if (NativeOf(listBox)->syncingItems) return;
    GtkTreeModel* model = nullptr;
    GtkTreeIter iter;
    listBox->selected = -1;
    if (!gtk_tree_selection_get_selected(selection, &model, &iter)) return;
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    listBox->selected = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
}

void MakeWindow(TGadget gadget, TGtkNative* native) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), gadget->text.c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), (gadget->style & StyleResizable) != 0);
    // Static gravity places the client area, not the frame, at the given position.
    if ((gadget->style & StyleClientCoords) != 0)
        gtk_window_set_gravity(GTK_WINDOW(window), GDK_GRAVITY_STATIC);
    gtk_window_move(GTK_WINDOW(window), gadget->x, gadget->y);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* client = gtk_fixed_new();
    gtk_widget_set_size_request(client, gadget->w, gadget->h);
    gtk_box_pack_start(GTK_BOX(box), client, TRUE, TRUE, 0);
    if ((gadget->style & StyleStatusBar) != 0) GtkAddStatusBar(box, client);
    gtk_container_add(GTK_CONTAINER(window), box);
    gtk_widget_show_all(box);
    gtk_widget_add_events(window, GDK_STRUCTURE_MASK);
    native->lastX = gadget->x;
    native->lastY = gadget->y;
    native->lastW = gadget->w;
    native->lastH = gadget->h;
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), gadget);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKey), gadget);
    g_signal_connect(window, "key-release-event", G_CALLBACK(OnKey), gadget);
    g_signal_connect(window, "configure-event", G_CALLBACK(OnConfigure), gadget);
    g_signal_connect(client, "size-allocate", G_CALLBACK(OnClientAllocated), gadget);
    native->outer = window;
    native->fixed = client;
    gtk_widget_set_visible(window, gadget->visible);
}

void MakePanel(TGadget gadget, TGtkNative* native) {
    GtkWidget* body = gtk_event_box_new();
    AddClasses(body, {"gorum-panel"});
    if (gadget->style == 1) AddClasses(body, {"gorum-sunken"});
    GtkWidget* fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(body), fixed);
    gtk_widget_show(fixed);
    native->outer = body;
    native->fixed = fixed;
}

void MakeButton(TGadget gadget, TGtkNative* native) {
    GtkWidget* button = gtk_button_new_with_label(gadget->text.c_str());
    AddClasses(button, {"gorum-button"});
    g_signal_connect(button, "clicked", G_CALLBACK(OnClicked), gadget);
    native->outer = button;
    native->control = button;
}

void MakeLabel(TGadget gadget, TGtkNative* native) {
    GtkWidget* label = gtk_label_new(gadget->text.c_str());
    AddClasses(label, {"gorum-label"});
    const bool centred = (gadget->style & LabelCentred) != 0;
    // Centred labels are the panels' titles.
    if (centred) AddClasses(label, {"gorum-centred"});
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_justify(GTK_LABEL(label), centred ? GTK_JUSTIFY_CENTER : GTK_JUSTIFY_LEFT);
    gtk_label_set_xalign(GTK_LABEL(label), centred ? 0.5f : 0.0f);
    gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
    // The box clips what does not fit, as a native static control does, instead of letting the text
    // spill over the controls below it.
    GtkWidget* box = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(box), GTK_POLICY_EXTERNAL, GTK_POLICY_EXTERNAL);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(box), GTK_SHADOW_NONE);
    AddClasses(box, {"gorum-label-box"});
    gtk_container_add(GTK_CONTAINER(box), label);
    if (GtkWidget* viewport = gtk_bin_get_child(GTK_BIN(box)); viewport != label) {
        gtk_viewport_set_shadow_type(GTK_VIEWPORT(viewport), GTK_SHADOW_NONE);
        AddClasses(viewport, {"gorum-label-box"});
    }
    gtk_widget_show_all(box);
    native->outer = box;
    native->control = label;
}

void MakeListBox(TGadget gadget, TGtkNative* native) {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    AddClasses(scroller, {"gorum-list"});
    native->store = gtk_list_store_new(2, GDK_TYPE_PIXBUF, G_TYPE_STRING);
    GtkWidget* tree = gtk_tree_view_new_with_model(GTK_TREE_MODEL(native->store));
    gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(tree), FALSE);
    GtkTreeViewColumn* column = gtk_tree_view_column_new();
    GtkCellRenderer* icon = gtk_cell_renderer_pixbuf_new();
    GtkCellRenderer* text = gtk_cell_renderer_text_new();
    gtk_tree_view_column_pack_start(column, icon, FALSE);
    gtk_tree_view_column_pack_start(column, text, TRUE);
    gtk_tree_view_column_add_attribute(column, icon, "pixbuf", 0);
    gtk_tree_view_column_add_attribute(column, text, "text", 1);
    gtk_tree_view_append_column(GTK_TREE_VIEW(tree), column);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(tree));
    gtk_tree_selection_set_mode(selection, GTK_SELECTION_SINGLE);
    g_signal_connect(selection, "changed", G_CALLBACK(OnSelectionChanged), gadget);
    gtk_container_add(GTK_CONTAINER(scroller), tree);
    gtk_widget_show(tree);
    native->outer = scroller;
    native->control = tree;
}

void FreeIcons(TGtkNative* native) {
    for (GdkPixbuf* icon : native->icons)
        g_object_unref(icon);
    native->icons.clear();
    native->iconsFrom = nullptr;
}

// One pixbuf per frame of the strip; a masked strip shows its pure black as transparent.
void BuildIcons(TGadget listBox, TGtkNative* native) {
    FreeIcons(native);
    const TImageData* strip = listBox->iconStrip.get();
    native->iconsFrom = strip;
    if (strip == nullptr || strip->width <= 0 || strip->height <= 0) return;
    for (const std::vector<uint8_t>& frame : strip->pixels) {
        GdkPixbuf* icon = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, strip->width, strip->height);
        const int stride = gdk_pixbuf_get_rowstride(icon);
        guchar* pixels = gdk_pixbuf_get_pixels(icon);
        const size_t rowBytes = static_cast<size_t>(strip->width) * 4;
        for (int row = 0;
             row < strip->height && frame.size() >= rowBytes * static_cast<size_t>(strip->height); ++row) {
            guchar* to = pixels + static_cast<ptrdiff_t>(row) * stride;
            const uint8_t* from = frame.data() + rowBytes * static_cast<size_t>(row);
            for (size_t i = 0; i < rowBytes; i += 4) {
                const bool black = from[i] == 0 && from[i + 1] == 0 && from[i + 2] == 0;
                to[i] = from[i];
                to[i + 1] = from[i + 1];
                to[i + 2] = from[i + 2];
                to[i + 3] = (strip->flags & ImageMasked) != 0 && black ? 0 : from[i + 3];
            }
        }
        native->icons.push_back(icon);
    }
}

void AppendRow(TGtkNative* native, const TListItem& item) {
    GdkPixbuf* icon = item.icon >= 0 && item.icon < static_cast<int>(native->icons.size())
                          ? native->icons[static_cast<size_t>(item.icon)]
                          : nullptr;
    GtkTreeIter iter;
    gtk_list_store_insert_with_values(native->store, &iter, -1, 0, icon, 1, item.text.c_str(), -1);
}

void SyncItems(TGadget listBox, TGtkNative* native) {
    const int rows = gtk_tree_model_iter_n_children(GTK_TREE_MODEL(native->store), nullptr);
    const bool stripChanged = native->iconsFrom != listBox->iconStrip.get();
    // Appending keeps the player's selection; anything else rebuilds the rows from the record.
    if (!stripChanged && rows <= static_cast<int>(listBox->items.size())) {
        for (size_t i = static_cast<size_t>(rows); i < listBox->items.size(); ++i)
            AppendRow(native, listBox->items[i]);
        return;
    }
    native->syncingItems = true;
    if (stripChanged) BuildIcons(listBox, native);
    gtk_list_store_clear(native->store);
    for (const TListItem& item : listBox->items)
        AppendRow(native, item);
    if (listBox->selected >= 0 && listBox->selected < static_cast<int>(listBox->items.size())) {
        GtkTreePath* path = gtk_tree_path_new_from_indices(listBox->selected, -1);
        gtk_tree_selection_select_path(gtk_tree_view_get_selection(GTK_TREE_VIEW(native->control)), path);
        gtk_tree_path_free(path);
    }
    native->syncingItems = false;
}

// Children sit in their parent's container at their own position; one without a container is
// kept alive by us and shown nowhere.
void Place(TGadget gadget, TGtkNative* native) {
    TGtkNative* parent = NativeOf(gadget->parent);
    if (parent != nullptr && parent->fixed != nullptr) {
        gtk_fixed_put(GTK_FIXED(parent->fixed), native->outer, gadget->x, gadget->y);
    } else {
        g_object_ref_sink(native->outer);
        native->owned = true;
    }
    gtk_widget_set_size_request(native->outer, gadget->w, gadget->h);
    gtk_widget_set_visible(native->outer, gadget->visible);
}

} // namespace

void BackendGadgetCreated(TGadget gadget) {
    GtkEnsureStarted();
    auto* native = new TGtkNative;
    gadget->native = native;
    switch (gadget->kind) {
    case TGadgetKind::Window:
        MakeWindow(gadget, native);
        return;
    case TGadgetKind::Panel:
        MakePanel(gadget, native);
        if (gadget->parent != nullptr && gadget->parent->kind == TGadgetKind::Canvas)
            GtkPaintPanelThroughGl(native->outer, gadget->parent);
        break;
    case TGadgetKind::Button:
        MakeButton(gadget, native);
        break;
    case TGadgetKind::Label:
        MakeLabel(gadget, native);
        break;
    case TGadgetKind::ListBox:
        MakeListBox(gadget, native);
        break;
    case TGadgetKind::HtmlView:
        GtkMakeHtmlView(gadget);
        break;
    case TGadgetKind::Canvas:
        GtkMakeCanvas(gadget);
        break;
    }
    Place(gadget, native);
}

void BackendGadgetDestroyed(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    if (native == nullptr) return;
    if (gadget->kind == TGadgetKind::Canvas) GtkFreeCanvas(gadget);
    if (gadget->kind == TGadgetKind::HtmlView) GtkFreeHtmlView(gadget);
    if (native->outer != nullptr) gtk_widget_destroy(native->outer);
    if (native->owned) g_object_unref(native->outer);
    FreeIcons(native);
    if (native->store != nullptr) g_object_unref(native->store);
    delete native;
    gadget->native = nullptr;
}

void BackendVisibilityChanged(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    if (native != nullptr) gtk_widget_set_visible(native->outer, gadget->visible);
}

void BackendBoundsChanged(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    if (native == nullptr) return;
    if (gadget->kind == TGadgetKind::Window) {
        gtk_window_move(GTK_WINDOW(native->outer), gadget->x, gadget->y);
        gtk_widget_set_size_request(native->fixed, gadget->w, gadget->h);
        gtk_window_resize(GTK_WINDOW(native->outer), 1, 1);
        return;
    }
    TGtkNative* parent = NativeOf(gadget->parent);
    if (parent != nullptr && parent->fixed != nullptr) {
        gtk_fixed_move(GTK_FIXED(parent->fixed), native->outer, gadget->x, gadget->y);
    }
    gtk_widget_set_size_request(native->outer, gadget->w, gadget->h);
    if (gadget->kind == TGadgetKind::Canvas) GtkResizeCanvas(gadget);
}

void BackendTextChanged(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    if (native == nullptr) return;
    switch (gadget->kind) {
    case TGadgetKind::Window:
        gtk_window_set_title(GTK_WINDOW(native->outer), gadget->text.c_str());
        break;
    case TGadgetKind::Button:
        gtk_button_set_label(GTK_BUTTON(native->control), gadget->text.c_str());
        break;
    case TGadgetKind::Label:
        gtk_label_set_text(GTK_LABEL(native->control), gadget->text.c_str());
        break;
    default:
        break;
    }
}

void BackendItemsChanged(TGadget listBox) {
    TGtkNative* native = NativeOf(listBox);
    if (native != nullptr && native->store != nullptr) SyncItems(listBox, native);
}
