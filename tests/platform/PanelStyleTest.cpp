// The panels' look as the toolkit resolves it on real widgets: every text stays readable on what lies
// behind it, and a button shows each of its states.
#include "GtkTestSupport.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double Luminance(const GdkRGBA& colour) {
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
}

constexpr auto Pressed = static_cast<GtkStateFlags>(GTK_STATE_FLAG_PRELIGHT | GTK_STATE_FLAG_ACTIVE);

double Contrast(const GdkRGBA& a, const GdkRGBA& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

GdkRGBA Colour(GtkWidget* widget, GtkStateFlags state, const char* property) {
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    gtk_style_context_save(context);
    gtk_style_context_set_state(context, state);
    GdkRGBA* value = nullptr;
    gtk_style_context_get(context, state, property, &value, nullptr);
    gtk_style_context_restore(context);
    const GdkRGBA colour = *value;
    gdk_rgba_free(value);
    return colour;
}

// What the text of a widget in `state` is drawn on: its own background, else the first ancestor's.
GdkRGBA Behind(GtkWidget* widget, GtkStateFlags state) {
    for (GtkWidget* at = widget; at != nullptr; at = gtk_widget_get_parent(at)) {
        const GdkRGBA colour = Colour(at, at == widget ? state : GTK_STATE_FLAG_NORMAL, "background-color");
        if (colour.alpha > 0.99) return colour;
    }
    ADD_FAILURE() << "nothing opaque behind " << G_OBJECT_TYPE_NAME(widget);
    return GdkRGBA{};
}

void ExpectReadable(GtkWidget* widget, GtkStateFlags state, const char* what) {
    const GdkRGBA text = Colour(widget, state, "color");
    EXPECT_GE(Contrast(text, Behind(widget, state)), 4.5) << what;
}

TEST_F(GtkTest, PanelStyle_TextsReadAtFourAndAHalfToOneAndButtonsShowEveryState) {
    TGadget window = OpenWindow("Style", 100, 100, 400, 300, nullptr, StyleTitleBar | StyleClientCoords);
    TGadget panel = AddPanel(0, 0, 350, 250, window, 1);
    TGadget text = AddLabel("Main information.", 15, 50, 320, 70, panel);
    TGadget title = AddLabel("TITLE", 55, 25, 240, 15, panel, LabelCentred);
    TGadget button = AddButton("Okay", 20, 210, 90, 25, panel);
    TGadget list = AddListBox(175, 20, 150, 100, panel);
    AddItem(list, "Chat with Friends");
    ASSERT_TRUE(WaitMapped(window));

    ExpectReadable(WidgetOf(text), GTK_STATE_FLAG_NORMAL, "label");
    ExpectReadable(WidgetOf(title), GTK_STATE_FLAG_NORMAL, "title");
    GtkWidget* rows = WidgetOf(list);
    ExpectReadable(rows, GTK_STATE_FLAG_NORMAL, "list row");
    ExpectReadable(rows, GTK_STATE_FLAG_SELECTED, "selected list row");
    // The panel is no toolkit grey, whatever the theme.
    const GdkRGBA body = Behind(WidgetOf(text), GTK_STATE_FLAG_NORMAL);
    EXPECT_FALSE(std::abs(body.red - body.green) < 0.01 && std::abs(body.green - body.blue) < 0.01);

    GtkWidget* push = WidgetOf(button);
    const GtkStateFlags states[] = {GTK_STATE_FLAG_NORMAL, GTK_STATE_FLAG_PRELIGHT, Pressed,
                                    GTK_STATE_FLAG_FOCUSED, GTK_STATE_FLAG_INSENSITIVE};
    for (GtkStateFlags state : states)
        ExpectReadable(push, state, ("button state " + std::to_string(state)).c_str());
    const GdkRGBA normal = Colour(push, GTK_STATE_FLAG_NORMAL, "background-color");
    const GdkRGBA hover = Colour(push, GTK_STATE_FLAG_PRELIGHT, "background-color");
    const GdkRGBA pressed = Colour(push, Pressed, "background-color");
    EXPECT_FALSE(gdk_rgba_equal(&normal, &hover));
    EXPECT_FALSE(gdk_rgba_equal(&hover, &pressed));
    EXPECT_FALSE(gdk_rgba_equal(&normal, &pressed));
    // Focus shows in the frame, which stays inside the button's own box.
    const GdkRGBA frame = Colour(push, GTK_STATE_FLAG_NORMAL, "border-top-color");
    const GdkRGBA focusFrame = Colour(push, GTK_STATE_FLAG_FOCUSED, "border-top-color");
    EXPECT_FALSE(gdk_rgba_equal(&frame, &focusFrame));
    EXPECT_GE(Contrast(focusFrame, normal), 3.0) << "the focus frame stands out from the button";
}

} // namespace
