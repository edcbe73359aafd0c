#include "panels/Widget.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/WidgetGroup.hpp"

#include <memory>
#include <vector>

std::list<TWidget*> WidgetRegistry;

namespace {

// Widgets are never freed: a caller may still read a destroyed widget's tag.
std::vector<std::unique_ptr<TWidget>> AllWidgets;

} // namespace

TWidget* TWidget::Create(const std::string& tag) {
    AllWidgets.push_back(std::make_unique<TWidget>());
    TWidget* widget = AllWidgets.back().get();
    widget->Tag = tag;
    if (DebugLevel >= 1 && tag == "NULLWIDGET") {
        PanelLog(1, "LOG: A widget was created without a tag identifier!");
    } else {
        PanelLog(2, "LOG: A widget has been created at: " + std::to_string(Milliseconds()));
    }
    widget->RegistryEntry = WidgetRegistry.insert(WidgetRegistry.end(), widget);
    return widget;
}

TWidget* TWidget::FindWidgetByGadget(const void* gadget) {
    for (TWidget* widget : WidgetRegistry) {
        if (widget->Gadget != nullptr && widget->Gadget == gadget) return widget;
    }
    PanelLog(1, "LOG: Failure to find a widget from gadget.");
    return nullptr;
}

bool TWidget::Destroy() {
    if (Tag == "DESTROYING...") return false; // already out of every list
    WidgetRegistry.erase(RegistryEntry);
    if (Group != nullptr) {
        Group->Members.erase(GroupEntry);
        Group = nullptr;
    }
    PanelLog(2, "LOG: Widget '" + Tag + "' was destroyed.");
    bool result = false;
    if (Gadget == nullptr) {
        PanelLog(1, "LOG: Gadget is null in destroying widget: '" + Tag + "'");
    } else {
        DestroyGadget(Gadget);
        // An older group may still list this widget; without a gadget, showing it stops here safely.
        Gadget = nullptr;
        result = true;
    }
    Tag = "DESTROYING...";
    return result;
}
