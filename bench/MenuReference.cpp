// The reference for the start-up and menu figures: a bare GTK window with one WebKit view on the same
// main-menu page, at the game's window position and client size, and nothing else.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    setenv("WEBKIT_DISABLE_COMPOSITING_MODE", "1", 0);
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "Menu reference");
    gtk_window_move(GTK_WINDOW(window), 150, 75);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    GtkWidget* web = webkit_web_view_new();
    gtk_widget_set_size_request(web, 800, 600);
    gtk_container_add(GTK_CONTAINER(window), web);
    gchar* cwd = g_get_current_dir();
    const std::string page = std::string("file://") + cwd + "/content/html/MainMenu.html";
    g_free(cwd);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(web), page.c_str());
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
