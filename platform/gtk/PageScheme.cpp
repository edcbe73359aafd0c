#include "platform/gtk/PageScheme.hpp"

#include "platform/LinkLocation.hpp"
#include "platform/PageFile.hpp"
#include "platform/Platform.hpp"

#include <string>

namespace {

// A page may use its own scripts and styles, inline or from the game, and pictures and fonts of the game
// or written into it; it may not load, connect to, frame, post to or play anything from elsewhere.
constexpr const char* PagePolicy =
    "default-src gorum:; script-src gorum: 'unsafe-inline'; style-src gorum: 'unsafe-inline'; "
    "img-src gorum: data:; font-src gorum: data:; connect-src gorum:; frame-src gorum:; form-action gorum:; "
    "base-uri gorum:; media-src 'none'; object-src 'none'; worker-src 'none'; manifest-src 'none'";

void Refuse(WebKitURISchemeRequest* request) {
    GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "not a page of the game");
    webkit_uri_scheme_request_finish_error(request, error);
    g_error_free(error);
}

void Answer(WebKitURISchemeRequest* request, gpointer) {
    std::string bytes, type;
    const gchar* method = webkit_uri_scheme_request_get_http_method(request);
    if ((method != nullptr && g_strcmp0(method, "GET") != 0) ||
        !ReadPageFile(CurrentDirectory(), webkit_uri_scheme_request_get_path(request), bytes, type)) {
        Refuse(request);
        return;
    }
    const gsize size = bytes.size();
    GInputStream* stream =
        g_memory_input_stream_new_from_data(g_memdup2(bytes.data(), size), static_cast<gssize>(size), g_free);
    WebKitURISchemeResponse* response = webkit_uri_scheme_response_new(stream, static_cast<gint64>(size));
    webkit_uri_scheme_response_set_content_type(response, type.c_str());
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_append(headers, "Content-Security-Policy", PagePolicy);
    webkit_uri_scheme_response_set_http_headers(response, headers);
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
    g_object_unref(stream);
}

} // namespace

void RegisterPageScheme(WebKitWebContext* context) {
    webkit_web_context_register_uri_scheme(context, PageScheme, Answer, nullptr, nullptr);
}
