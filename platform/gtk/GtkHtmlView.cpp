// HTML views on WebKit, sealed (WebSeal). The engine's address of a followed link does not keep the
// link's spelling, so a script in every page tells us the link as written before the engine follows it.
#include "platform/Backend.hpp"
#include "platform/LinkLocation.hpp"
#include "platform/gtk/GtkNative.hpp"
#include "platform/gtk/LocalOnly.hpp"
#include "platform/gtk/WebHelpers.hpp"
#include "platform/gtk/WebSeal.hpp"

#include <algorithm>
#include <webkit2/webkit2.h>

struct TGtkHtmlView {
    TGadget gadget = nullptr;
    GtkWidget* web = nullptr;
    WebKitUserContentManager* manager = nullptr;
    std::string clicked;   // the link just clicked, as its page wrote it
    std::string navigated; // the location last given to Navigate
    std::string pending;   // a location asked for before the seal was ready
    bool loaded = false;   // its page has finished loading
};

namespace {

std::vector<TGtkHtmlView*> Views;
bool PageShown = false;

void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    static_cast<TGtkHtmlView*>(data)->loaded = event == WEBKIT_LOAD_FINISHED;
}

// Drawn once its page had loaded: a page is on screen.
gboolean OnViewDrawn(GtkWidget*, cairo_t*, gpointer data) {
    if (static_cast<TGtkHtmlView*>(data)->loaded) PageShown = true;
    return FALSE;
}

constexpr const char* LinkMessages = "gorumLink";

// Capture phase: the link is known before any handler of the page can act on the click.
constexpr const char* LinkScript = R"js(
document.addEventListener('click', function (event) {
  for (var node = event.target; node; node = node.parentNode) {
    if (node.nodeType === 1 && node.tagName.toLowerCase() === 'a' && node.hasAttribute('href')) {
      window.webkit.messageHandlers.gorumLink.postMessage(node.getAttribute('href'));
      return;
    }
  }
}, true);
)js";

void OnLinkClicked(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data) {
    auto* view = static_cast<TGtkHtmlView*>(data);
    JSCValue* value = webkit_javascript_result_get_js_value(result);
    if (!jsc_value_is_string(value)) return;
    gchar* href = jsc_value_to_string(value);
    view->clicked = FollowedLink(view->gadget->url, href);
    g_free(href);
}

// The view's location moved: keep the game's own spelling of it where the move was the game's
// Navigate or a clicked link, and take the engine's for anything else (scripts, redirects).
void OnUriChanged(GObject*, GParamSpec*, gpointer data) {
    auto* view = static_cast<TGtkHtmlView*>(data);
    const gchar* engine = webkit_web_view_get_uri(WEBKIT_WEB_VIEW(view->web));
    if (engine == nullptr) return;
    const std::string uri = PageLocation(engine, CurrentDirectory());
    if (!view->clicked.empty() && SameLocation(view->clicked, uri)) {
        view->gadget->url = view->clicked;
    } else if (!view->navigated.empty() && SameLocation(view->navigated, uri)) {
        view->gadget->url = view->navigated;
    } else {
        view->gadget->url = uri;
    }
    view->clicked.clear();
    view->navigated.clear();
}

TGtkHtmlView* ViewOf(TGadget gadget) {
    TGtkNative* native = NativeOf(gadget);
    return native == nullptr ? nullptr : native->html;
}

// Only pages of the game's content are given to the engine; anything else leaves the view blank.
void Load(TGtkHtmlView* view, const std::string& location) {
    const std::string uri = PageUri(location, CurrentDirectory());
    if (uri.empty()) SealNotice(location + " is not a page of the game's content; it is not shown");
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view->web), uri.empty() ? "about:blank" : uri.c_str());
}

// No page loads before the whole seal is in place, and none at all if it could not be made.
void OnSealSettled() {
    for (TGtkHtmlView* view : Views) {
        if (SealState() != TSeal::Ready) {
            view->pending.clear();
            continue;
        }
        webkit_user_content_manager_add_filter(view->manager, SealFilter());
        if (!view->pending.empty()) Load(view, view->pending);
        view->pending.clear();
    }
}

void Forget(TGtkHtmlView* view) {
    g_signal_handlers_disconnect_by_data(view->manager, view);
    g_signal_handlers_disconnect_by_data(view->web, view);
    std::erase(Views, view);
    delete view;
}

} // namespace

void GtkMakeHtmlView(TGadget gadget) {
    // Told before the seal is first made: a part that cannot be set up settles it at once.
    WhenSealSettled(OnSealSettled);
    auto* view = new TGtkHtmlView;
    view->gadget = gadget;
    view->manager = webkit_user_content_manager_new();
    view->web = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", SealedContext(),
                                        "user-content-manager", view->manager, nullptr));
    g_object_unref(view->manager);
    // The guard's script first: a click it cancels is no link followed.
    SealView(WEBKIT_WEB_VIEW(view->web), view->manager);
    if (SealState() == TSeal::Ready) webkit_user_content_manager_add_filter(view->manager, SealFilter());
    g_signal_connect(view->manager, "script-message-received::gorumLink", G_CALLBACK(OnLinkClicked), view);
    webkit_user_content_manager_register_script_message_handler(view->manager, LinkMessages);
    WebKitUserScript* script =
        webkit_user_script_new(LinkScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(view->manager, script);
    webkit_user_script_unref(script);
    g_signal_connect(view->web, "notify::uri", G_CALLBACK(OnUriChanged), view);
    g_signal_connect(view->web, "load-changed", G_CALLBACK(OnLoadChanged), view);
    g_signal_connect_after(view->web, "draw", G_CALLBACK(OnViewDrawn), view);
    Views.push_back(view);
    TGtkNative* native = NativeOf(gadget);
    native->html = view;
    native->outer = view->web;
    native->control = view->web;
}

void GtkFreeHtmlView(TGadget gadget) {
    TGtkHtmlView* view = ViewOf(gadget);
    if (view == nullptr) return;
    Forget(view);
    NativeOf(gadget)->html = nullptr;
}

bool GtkHtmlViewsExist() {
    return !Views.empty();
}

bool GtkHtmlPageShown() {
    return PageShown;
}

void GtkFreeAllHtmlViews() {
    while (!Views.empty()) {
        TGtkHtmlView* view = Views.back();
        TGtkNative* native = NativeOf(view->gadget);
        GtkWidget* web = view->web;
        Forget(view);
        native->html = nullptr;
        native->outer = native->control = nullptr;
        gtk_widget_destroy(web);
    }
    EndHelpers();
    RemovePrivateFiles();
}

void BackendNavigate(TGadget gadget, const std::string& location) {
    TGtkHtmlView* view = ViewOf(gadget);
    if (view == nullptr) return;
    view->navigated = location;
    view->clicked.clear();
    view->pending.clear();
    if (SealState() == TSeal::Ready) {
        Load(view, location);
    } else if (SealState() == TSeal::Pending) {
        view->pending = location;
    }
}
