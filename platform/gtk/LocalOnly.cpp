#include "platform/gtk/LocalOnly.hpp"

#include "platform/LinkLocation.hpp"
#include "platform/gtk/WebHelpers.hpp"
#include "platform/gtk/WebSeal.hpp"

#include <cstring>
#include <string>

namespace {

// Link preconnection opens a connection to a clicked link's server before the navigation policy is asked;
// the others reach the network, look names up, keep data on disk, or start the media stack (which writes
// its registry and sound server folders) or devices.
constexpr const char* FeaturesOff[] = {"LinkPreconnect",
                                       "LinkPreconnectEarlyHints",
                                       "LinkDNSPrefetch",
                                       "LinkPrefetch",
                                       "BeaconAPI",
                                       "WebSocket",
                                       "WebTransport",
                                       "ServiceWorkers",
                                       "Notifications",
                                       "PushAPI",
                                       "BackgroundFetchAPI",
                                       "PrivateClickMeasurement",
                                       "GeolocationAPI",
                                       "Gamepads",
                                       "MediaDevices",
                                       "MediaRecorder",
                                       "MediaSession",
                                       "MediaSource",
                                       "ManagedMediaSource",
                                       "Media",
                                       "WebAudio",
                                       "SpeechSynthesisAPI",
                                       "SpeechRecognition",
                                       "WebGL",
                                       "WebGPU",
                                       "CacheAPI",
                                       "IndexedDBAPI",
                                       "LocalStorage",
                                       "Databases"};

void TurnFeaturesOff(WebKitSettings* settings) {
    g_object_set(settings, "enable-media", FALSE, "enable-webaudio", FALSE, "enable-webgl", FALSE,
                 "enable-webrtc", FALSE, "enable-media-stream", FALSE, "enable-mediasource", FALSE,
                 "enable-encrypted-media", FALSE, "enable-media-capabilities", FALSE, "enable-html5-database",
                 FALSE, "enable-html5-local-storage", FALSE, "enable-page-cache", FALSE,
                 "enable-developer-extras", FALSE, "javascript-can-open-windows-automatically", FALSE,
                 "allow-file-access-from-file-urls", FALSE, "allow-universal-access-from-file-urls", FALSE,
                 nullptr);
    WebKitFeatureList* features = webkit_settings_get_all_features();
    for (gsize i = 0; i < webkit_feature_list_get_length(features); ++i) {
        WebKitFeature* feature = webkit_feature_list_get(features, i);
        for (const char* off : FeaturesOff) {
            if (std::strcmp(webkit_feature_get_identifier(feature), off) == 0)
                webkit_settings_set_feature_enabled(settings, feature, FALSE);
        }
    }
    webkit_feature_list_unref(features);
}

bool IsGamePage(const gchar* uri) {
    return uri != nullptr && (g_str_has_prefix(uri, PageRoot) || g_strcmp0(uri, "about:blank") == 0 ||
                              g_strcmp0(uri, "about:srcdoc") == 0);
}

gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer) {
    bool allowed = false;
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        // Only what the game answered, and of a kind the view shows: nothing is ever downloaded.
        auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
        allowed =
            IsGamePage(webkit_uri_response_get_uri(webkit_response_policy_decision_get_response(response))) &&
            webkit_response_policy_decision_is_mime_type_supported(response);
    } else if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) {
        // No new windows: the game has no browser to open them in.
        WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
            WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        allowed = IsGamePage(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
    }
    if (allowed) return FALSE;
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

gboolean OnPermission(WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
    webkit_permission_request_deny(request);
    return TRUE;
}

gboolean OnFileChooser(WebKitWebView*, WebKitFileChooserRequest* request, gpointer) {
    webkit_file_chooser_request_cancel(request);
    return TRUE;
}

gboolean OnPrint(WebKitWebView*, WebKitPrintOperation*, gpointer) {
    return TRUE;
}

void OnProcessEnded(WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer) {
    if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) return;
    SealNotice("a page's process ended (it failed, or held more than " + std::to_string(WebMemoryCapMb) +
               " MB); its view is left blank");
}

// Capture phase and first of the page's scripts, so that no handler of the page sees the click first.
constexpr const char* GuardScript = R"js(
(function () {
  var local = /^(gorum|about|javascript):$/i;
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

} // namespace

void SealView(WebKitWebView* web, WebKitUserContentManager* manager) {
    TurnFeaturesOff(webkit_web_view_get_settings(web));
    WebKitUserScript* script =
        webkit_user_script_new(GuardScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(manager, script);
    webkit_user_script_unref(script);
    g_signal_connect(web, "decide-policy", G_CALLBACK(OnDecidePolicy), nullptr);
    g_signal_connect(web, "permission-request", G_CALLBACK(OnPermission), nullptr);
    g_signal_connect(web, "run-file-chooser", G_CALLBACK(OnFileChooser), nullptr);
    g_signal_connect(web, "print", G_CALLBACK(OnPrint), nullptr);
    g_signal_connect(web, "web-process-terminated", G_CALLBACK(OnProcessEnded), nullptr);
}
