#pragma once
// What the tests of the HTML views share: the engine's view of a gadget, waiting for a page, running a
// script in it and clicking one of its elements for real.

#include "tests/platform/GtkTestSupport.hpp"

#include <webkit2/webkit2.h>

#include <string>

inline WebKitWebView* Web(TGadget view) {
    return WEBKIT_WEB_VIEW(WidgetOf(view));
}

inline bool Shows(TGadget view, const std::string& title) {
    return PumpUntil(
        [&] {
            const gchar* now = webkit_web_view_get_title(Web(view));
            return now != nullptr && title == now && !webkit_web_view_is_loading(Web(view));
        },
        10000);
}

struct TEval {
    bool done = false;
    std::string result;
};

// Runs a script in the page and returns its result as text; "" when it failed.
inline std::string Eval(TGadget view, const std::string& script) {
    TEval eval;
    webkit_web_view_evaluate_javascript(
        Web(view), script.c_str(), -1, nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            auto* out = static_cast<TEval*>(data);
            JSCValue* value =
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
            if (value != nullptr) {
                gchar* text = jsc_value_to_string(value);
                out->result = text;
                g_free(text);
                g_object_unref(value);
            }
            out->done = true;
        },
        &eval);
    PumpUntil([&] { return eval.done; }, 5000);
    return eval.result;
}

// A real click in the middle of the first element the selector finds, scrolled into sight.
inline bool ClickElement(TGadget view, const std::string& selector) {
    const std::string where =
        Eval(view, "(function(){var e=document.querySelector('" + selector +
                       "');e.scrollIntoView({block:'center'});var r=e.getBoundingClientRect();"
                       "return Math.round(r.left+r.width/2)+' '+Math.round(r.top+r.height/2);})()");
    const size_t space = where.find(' ');
    if (space == std::string::npos) return false;
    PumpFor(200);
    return ClickAt(ScreenPoint(view, std::stoi(where.substr(0, space)), std::stoi(where.substr(space + 1))));
}
