// Gadget records mirrored in GTK widgets: windows, panels, buttons, labels and list boxes here;
// canvases and HTML views in their own files.
#include "platform/Backend.hpp"
#include "platform/EventChain.hpp"
#include "platform/ImageData.hpp"
#include "platform/gtk/GtkKeys.hpp"
#include "platform/gtk/GtkNative.hpp"

#include <algorithm>

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
        // Where the window really is, however it got there: what places other windows beside it reads.
        gadget->x = configure->x;
        gadget->y = configure->y;
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

// The height of the label's text laid out at the given width and scale of its font.
int LaidOutHeight(GtkWidget* label, const std::string& text, int width, double scale) {
    PangoLayout* layout = gtk_widget_create_pango_layout(label, text.c_str());
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_scale_new(scale));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    int height = 0;
    pango_layout_get_pixel_size(layout, nullptr, &height);
    g_object_unref(layout);
    return height;
}

// A text too long for its box is set smaller, down to a size still easy to read, rather than cut off.
void FitLabel(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    if (native == nullptr || native->control == nullptr || gadget->w <= 0 || gadget->h <= 0) return;
    constexpr double Smallest = 0.75, Step = 0.05;
    double scale = 1.0;
    while (scale - Step >= Smallest - 1e-9 &&
           LaidOutHeight(native->control, gadget->text, gadget->w, scale) > gadget->h)
        scale -= Step;
    PangoAttrList* attributes = pango_attr_list_new();
    if (scale < 1.0) pango_attr_list_insert(attributes, pango_attr_scale_new(scale));
    gtk_label_set_attributes(GTK_LABEL(native->control), attributes);
    pango_attr_list_unref(attributes);
}

void OnLabelStyled(GtkWidget*, gpointer data) {
    FitLabel(static_cast<TGadget>(data));
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
    g_signal_connect(label, "style-updated", G_CALLBACK(OnLabelStyled), gadget);
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

// The frame's pixels as a pixbuf; a masked image shows its pure black as transparent.
GdkPixbuf* FramePixbuf(const TImageData& image, int frame) {
    if (frame < 0 || frame >= static_cast<int>(image.pixels.size()) || image.width <= 0 || image.height <= 0)
        return nullptr;
    const std::vector<uint8_t>& pixels = image.pixels[static_cast<size_t>(frame)];
    const size_t rowBytes = static_cast<size_t>(image.width) * 4;
    if (pixels.size() < rowBytes * static_cast<size_t>(image.height)) return nullptr;
    GdkPixbuf* picture = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, image.width, image.height);
    const int stride = gdk_pixbuf_get_rowstride(picture);
    guchar* to = gdk_pixbuf_get_pixels(picture);
    for (int row = 0; row < image.height; ++row) {
        const uint8_t* from = pixels.data() + rowBytes * static_cast<size_t>(row);
        guchar* line = to + static_cast<ptrdiff_t>(row) * stride;
        for (size_t i = 0; i < rowBytes; i += 4) {
            const bool black = from[i] == 0 && from[i + 1] == 0 && from[i + 2] == 0;
            line[i] = from[i];
            line[i + 1] = from[i + 1];
            line[i + 2] = from[i + 2];
            line[i + 3] = (image.flags & ImageMasked) != 0 && black ? 0 : from[i + 3];
        }
    }
    return picture;
}

void FreeIcons(TGtkNative* native) {
    for (GdkPixbuf* icon : native->icons)
        g_object_unref(icon);
    native->icons.clear();
    native->iconsFrom = nullptr;
}

// One pixbuf per frame of the strip.
void BuildIcons(TGadget listBox, TGtkNative* native) {
    FreeIcons(native);
    const TImageData* strip = listBox->iconStrip.get();
    native->iconsFrom = strip;
    if (strip == nullptr) return;
    for (int frame = 0; frame < static_cast<int>(strip->pixels.size()); ++frame) {
        GdkPixbuf* icon = FramePixbuf(*strip, frame);
        if (icon == nullptr) break;
        native->icons.push_back(icon);
    }
}

void ShowPicture(TGadget panel, TGtkNative* native) {
    if (native->fixed == nullptr) return;
    GdkPixbuf* frame =
        panel->picture != nullptr ? FramePixbuf(*panel->picture, panel->pictureFrame) : nullptr;
    if (frame == nullptr) {
        if (native->picture != nullptr) gtk_widget_hide(native->picture);
        return;
    }
    // As large as the panel holds with a margin, up to twice the picture's own size.
    constexpr int Margin = 8;
    const int w = gdk_pixbuf_get_width(frame), h = gdk_pixbuf_get_height(frame);
    const double fit = std::min({2.0, static_cast<double>(panel->w - 2 * Margin) / w,
                                 static_cast<double>(panel->h - 2 * Margin) / h});
    const int shownW = std::max(1, static_cast<int>(w * fit)),
              shownH = std::max(1, static_cast<int>(h * fit));
    GdkPixbuf* shown = gdk_pixbuf_scale_simple(frame, shownW, shownH, GDK_INTERP_HYPER);
    g_object_unref(frame);
    if (native->picture == nullptr) {
        native->picture = gtk_image_new();
        gtk_fixed_put(GTK_FIXED(native->fixed), native->picture, 0, 0);
    }
    gtk_image_set_from_pixbuf(GTK_IMAGE(native->picture), shown);
    g_object_unref(shown);
    gtk_fixed_move(GTK_FIXED(native->fixed), native->picture, (panel->w - shownW) / 2,
                   (panel->h - shownH) / 2);
    gtk_widget_show(native->picture);
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
    if (gadget->kind == TGadgetKind::Label) FitLabel(gadget);
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
    if (gadget->kind == TGadgetKind::Label) FitLabel(gadget);
    if (gadget->kind == TGadgetKind::Panel && gadget->picture != nullptr) ShowPicture(gadget, native);
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
        FitLabel(gadget);
        break;
    default:
        break;
    }
}

void BackendItemsChanged(TGadget listBox) {
    TGtkNative* native = NativeOf(listBox);
    if (native != nullptr && native->store != nullptr) SyncItems(listBox, native);
}

void BackendStatusTextChanged(TGadget window) {
    TGtkNative* native = NativeOf(window);
    if (native == nullptr || native->fixed == nullptr) return;
    if (GtkWidget* box = gtk_widget_get_parent(native->fixed)) GtkSetStatusText(box, window->statusText);
}

void BackendPictureChanged(TGadget panel) {
    TGtkNative* native = NativeOf(panel);
    if (native != nullptr) ShowPicture(panel, native);
}

TBounds BackendWorkArea(TGadget window) {
    TGtkNative* native = NativeOf(window);
    GdkDisplay* display = gdk_display_get_default();
    GdkWindow* shown =
        native != nullptr && native->outer != nullptr ? gtk_widget_get_window(native->outer) : nullptr;
    GdkMonitor* monitor = shown != nullptr ? gdk_display_get_monitor_at_window(display, shown)
                                           : gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) monitor = gdk_display_get_monitor(display, 0);
    if (monitor == nullptr) return {};
    GdkRectangle area{};
    gdk_monitor_get_workarea(monitor, &area);
    return {area.x, area.y, area.width, area.height};
}
