// The look of the native panels: the cream cards, dark brown ink and gold highlights of the menu
// pages and the world's art, in the pages' type, so that a prompt over the world reads as part of it.
#include "platform/gtk/GtkNative.hpp"

namespace {

// Panels are opaque so that their texts stay readable over the canvas picture; controls keep to the
// sizes the game gives them instead of the theme's generous minimums. A panel inside a panel (the
// image frames) is a shade darker, like parchment on a card.
constexpr const char* Css = R"css(
.gorum-panel { background-color: #fff8e6; }
.gorum-sunken { border: 3px solid #5a3d1e; border-radius: 8px; }
.gorum-panel .gorum-panel { background-color: #f4ecd2; }
.gorum-panel .gorum-sunken { border-width: 2px; border-radius: 6px; }
.gorum-label { padding: 0px; color: #2d2a26; font-family: "DejaVu Sans", Verdana, sans-serif; font-size: 11px; }
.gorum-centred { color: #5a3d1e; font-weight: bold; font-size: 12px; }
.gorum-label-box { background: transparent; border: none; }
.gorum-button {
  padding: 0px; min-height: 0px; min-width: 0px;
  color: #2d2a26; background-color: #fff8e6; background-image: none; text-shadow: none;
  border: 2px solid #5a3d1e; border-radius: 7px; box-shadow: 0px 2px 0px #5a3d1e;
  font-family: "DejaVu Sans", Verdana, sans-serif; font-size: 11px; font-weight: bold;
}
.gorum-button label { color: inherit; }
.gorum-button:hover { background-color: #f6d36b; }
.gorum-button:active { background-color: #e3b84c; box-shadow: inset 0px 2px 0px #b08a3a; }
.gorum-button:focus { border-color: #44602f; box-shadow: 0px 2px 0px #44602f; outline-width: 0px; }
.gorum-button:disabled { color: #6b5a48; background-color: #efe6d2; border-color: #a08c70; box-shadow: none; }
.gorum-list { border: 2px solid #5a3d1e; border-radius: 4px; background-color: #fff8e6; }
.gorum-list .view { background-color: #fff8e6; color: #2d2a26; font-family: "DejaVu Sans", Verdana, sans-serif; font-size: 11px; }
.gorum-list .view:hover { background-color: #f6d36b; }
.gorum-list .view:selected { background-color: #5a3d1e; color: #fff8e6; }
)css";

} // namespace

void GtkInstallPanelStyle() {
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, Css, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);
}
