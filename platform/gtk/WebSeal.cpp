// The parts of the seal, each of which holds on its own:
// - the pages come from the game's own scheme (PageScheme), never from file: or the network: the engine's
//   network process, the only one that opens sockets, is never asked for them;
// - every page carries a content security policy that refuses any load outside that scheme, checked in
//   the page's process before a request leaves it;
// - the content filter blocks every load outside that scheme again, in the engine's loaders;
// - each view refuses navigation to anything else and turns off what connects ahead of the navigation
//   policy (link preconnection), prefetches names, or reaches devices and media (LocalOnly);
// - a proxy that names no place: a request that got past all of this still opens no socket and sends no
//   name query;
// - the engine's web processes live under a memory cap (WebHelpers), and every file the engine writes goes
//   to a private temporary folder removed at exit.
#include "platform/gtk/WebSeal.hpp"

#include "platform/LinkLocation.hpp"
#include "platform/gtk/PageScheme.hpp"
#include "platform/gtk/WebHelpers.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

std::string PrivateTemp;   // "" until made, or when it could not be made
std::string NoPrivateTemp; // why it could not be made
WebKitWebContext* Context = nullptr;
TSeal State = TSeal::Pending;
WebKitUserContentFilter* Filter = nullptr;
void (*Settled)() = nullptr;

// GLib can make no address of a proxy without a host, so it gives up before opening a socket and without
// looking a name up.
constexpr const char* NowhereProxy = "gorum-nowhere://";

void Settle(TSeal state, const std::string& reason = "") {
    State = state;
    if (state == TSeal::Broken) SealNotice("the HTML pages are not shown: " + reason);
    if (Settled != nullptr) Settled();
}

// Block everything, then let the game's own scheme and what a page holds in itself through again.
std::string FilterRules() {
    std::string rules = R"([{"trigger":{"url-filter":".*"},"action":{"type":"block"}})";
    for (const char* scheme : {PageScheme, "about", "data", "blob"}) {
        rules += R"(,{"trigger":{"url-filter":"^)" + std::string(scheme) +
                 R"(:"},"action":{"type":"ignore-previous-rules"}})";
    }
    return rules + "]";
}

void OnFilterSaved(GObject* store, GAsyncResult* result, gpointer path) {
    GError* error = nullptr;
    Filter =
        webkit_user_content_filter_store_save_finish(WEBKIT_USER_CONTENT_FILTER_STORE(store), result, &error);
    g_object_unref(store);
    // The filter lives in memory from here on.
    std::error_code ignored;
    std::filesystem::remove_all(static_cast<char*>(path), ignored);
    g_free(path);
    if (error != nullptr) {
        Settle(TSeal::Broken, std::string("the content filter could not be made (") + error->message + ")");
        g_error_free(error);
        return;
    }
    Settle(TSeal::Ready);
}

void CompileFilter() {
    if (PrivateTemp.empty()) {
        Settle(TSeal::Broken, NoPrivateTemp);
        return;
    }
    gchar* path = g_build_filename(PrivateTemp.c_str(), "filter", nullptr);
    const std::string rules = FilterRules();
    GBytes* source = g_bytes_new(rules.data(), rules.size());
    webkit_user_content_filter_store_save(webkit_user_content_filter_store_new(path), "local", source,
                                          nullptr, OnFilterSaved, path);
    g_bytes_unref(source);
}

void OnDownload(WebKitWebContext*, WebKitDownload* download, gpointer) {
    webkit_download_cancel(download);
}

} // namespace

void PrepareProcessForPages() {
    const char* system = std::getenv("TMPDIR");
    std::string pattern =
        std::string(system != nullptr && *system != '\0' ? system : "/tmp") + "/gorum-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        NoPrivateTemp = "no private temporary folder could be made in " +
                        pattern.substr(0, pattern.rfind('/')) + " (" + std::strerror(errno) + ")";
        return;
    }
    PrivateTemp = pattern;
    setenv("TMPDIR", PrivateTemp.c_str(), 1);
    std::atexit(RemovePrivateFiles);
}

void RemovePrivateFiles() {
    if (PrivateTemp.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(PrivateTemp, ignored);
    PrivateTemp.clear();
}

WebKitWebContext* SealedContext() {
    if (Context != nullptr) return Context;
    WebKitWebsiteDataManager* data = webkit_website_data_manager_new_ephemeral();
    WebKitNetworkProxySettings* proxy = webkit_network_proxy_settings_new(NowhereProxy, nullptr);
    webkit_website_data_manager_set_network_proxy_settings(data, WEBKIT_NETWORK_PROXY_MODE_CUSTOM, proxy);
    webkit_network_proxy_settings_free(proxy);
    WebKitMemoryPressureSettings* memory = webkit_memory_pressure_settings_new();
    webkit_memory_pressure_settings_set_memory_limit(memory, WebMemoryCapMb);
    webkit_memory_pressure_settings_set_kill_threshold(memory, 1.0);
    webkit_memory_pressure_settings_set_poll_interval(memory, 0.5);
    Context = WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", data,
                                              "memory-pressure-settings", memory, nullptr));
    webkit_memory_pressure_settings_free(memory);
    g_object_unref(data);
    webkit_web_context_set_cache_model(Context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    RegisterPageScheme(Context);
    g_signal_connect(Context, "download-started", G_CALLBACK(OnDownload), nullptr);
    StartMemoryWatch();
    CompileFilter();
    return Context;
}

TSeal SealState() {
    return State;
}

void WhenSealSettled(void (*settled)()) {
    Settled = settled;
}

WebKitUserContentFilter* SealFilter() {
    return Filter;
}

void SealNotice(const std::string& text) {
    std::fprintf(stderr, "gorum: %s\n", text.c_str());
    std::fflush(stderr);
}
