#include "platform/gtk/LocalOnly.hpp"

#include "platform/Platform.hpp"
#include "platform/LinkLocation.hpp"

#include <filesystem>
#include <string>

namespace {

WebKitUserContentFilter* Filter = nullptr;
bool Started = false;
bool Settled = false;
void (*OnSettled)() = nullptr;
std::string StorePath;

// Capture phase and first of the page's scripts, so that no handler of the page sees the click.
std::string GuardScript() {
    std::string schemes;
    for (const char* scheme : LocalSchemes)
        schemes += std::string(schemes.empty() ? "" : "|") + scheme;
    return R"js(
(function () {
  var local = /^()js" +
           schemes + R"js():$/i;
  function guard(event) {
    for (var node = event.target; node; node = node.parentNode) {
      if (node.nodeType === 1 && (node.localName === 'a' || node.localName === 'area') &&
          node.hasAttribute('href')) {
        if (!local.test(node.protocol)) {
          event.preventDefault();
          event.stopImmediatePropagation();
        }
        return;
      }
    }
  }
  document.addEventListener('click', guard, true);
  document.addEventListener('auxclick', guard, true);
})();
)js";
}

// Block everything, then let the local schemes through again (the filter's patterns know no "|").
std::string FilterRules() {
    std::string rules = R"([{"trigger":{"url-filter":".*"},"action":{"type":"block"}})";
    for (const char* scheme : LocalSchemes) {
        rules += R"(,{"trigger":{"url-filter":"^)" + std::string(scheme) +
                 R"(:"},"action":{"type":"ignore-previous-rules"}})";
    }
    return rules + "]";
}

gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer) {
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const gchar* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (uri != nullptr && IsLocalLocation(uri)) return FALSE;
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

void OnFilterSaved(GObject* store, GAsyncResult* result, gpointer) {
    GError* error = nullptr;
    Filter =
        webkit_user_content_filter_store_save_finish(WEBKIT_USER_CONTENT_FILTER_STORE(store), result, &error);
    if (error != nullptr) {
        DebugLog(std::string("WARNING: no content filter for the HTML views: ") + error->message);
        g_error_free(error);
    }
    g_object_unref(store);
    // The filter lives in memory from here on.
    RemoveLocalFilterFiles();
    Settled = true;
    if (OnSettled != nullptr) OnSettled();
}

} // namespace

void GuardLocal(WebKitWebView* web, WebKitUserContentManager* manager) {
    WebKitUserScript* script =
        webkit_user_script_new(GuardScript().c_str(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(manager, script);
    webkit_user_script_unref(script);
    g_signal_connect(web, "decide-policy", G_CALLBACK(OnDecidePolicy), nullptr);
}

void PrepareLocalFilter(void (*settled)()) {
    if (Started) return;
    Started = true;
    OnSettled = settled;
    GError* error = nullptr;
    gchar* path = g_dir_make_tmp("gorum-filter-XXXXXX", &error);
    if (path == nullptr) {
        DebugLog(std::string("WARNING: no content filter for the HTML views: ") + error->message);
        g_error_free(error);
        Settled = true;
        settled();
        return;
    }
    StorePath = path;
    g_free(path);
    const std::string rules = FilterRules();
    GBytes* source = g_bytes_new(rules.data(), rules.size());
    webkit_user_content_filter_store_save(webkit_user_content_filter_store_new(StorePath.c_str()), "local",
                                          source, nullptr, OnFilterSaved, nullptr);
    g_bytes_unref(source);
}

void RemoveLocalFilterFiles() {
    if (StorePath.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(StorePath, ignored);
    StorePath.clear();
}

bool LocalFilterSettled() {
    return Settled;
}

WebKitUserContentFilter* LocalFilter() {
    return Filter;
}
