#include "panels/MenuBrowser.hpp"

#include "panels/GlobalGadgets.hpp"

TGadget MenuView = nullptr;
std::string MenuUrl;
std::string MenuPageUrl;
bool MenuClosed = true;
int MenuWidth = 0;
int MenuHeight = 0;

void TMenuBrowser::Recreate() {
    if (MenuView != nullptr) DestroyGadget(MenuView);
    MenuView = AddHtmlView(0, 0, 800, 600, MainWindow, 0);
    MenuWidth = ClientWidth(MainWindow);
    MenuHeight = ClientHeight(MainWindow);
}

bool TMenuBrowser::Open(const std::string& url, int, int, int width, int height) {
    Recreate();
    MenuUrl = url;
    Navigate(MenuView, url);
    SetBounds(MenuView, 0, 0, width < 0 ? MenuWidth : width, height < 0 ? MenuHeight : height);
    TGlobalGadgets::HideWorld();
    MenuClosed = false;
    return true;
}

bool TMenuBrowser::OpenPage(const std::string& suffix) {
    return Open(MenuPageUrl + suffix, -1, -1, -1, -1);
}

void TMenuBrowser::Close() {
    DestroyGadget(MenuView);
    MenuView = nullptr;
    MenuClosed = true;
    TGlobalGadgets::ShowWorld();
}
