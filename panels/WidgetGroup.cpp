#include "panels/WidgetGroup.hpp"

#include "panels/GlobalGadgets.hpp"

#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<TWidgetGroup>> AllGroups;

} // namespace

TWidgetGroup* TWidgetGroup::Create(const std::string& tag) {
    AllGroups.push_back(std::make_unique<TWidgetGroup>());
    TWidgetGroup* group = AllGroups.back().get();
    group->Tag = tag;
    if (DebugLevel >= 1 && tag == "NULLGROUP") {
        PanelLog(1, "LOG: A group has been created without an identifier!");
    } else {
        PanelLog(2, "LOG: A group has been created at: " + std::to_string(Milliseconds()));
    }
    return group;
}

bool TWidgetGroup::Add(TWidget* widget) {
    if (widget == nullptr) {
        PanelLog(1, "LOG: Failure to add widget to group '" + Tag + "'");
        return false;
    }
    // An earlier group keeps its entry; only the newest membership is remembered for Destroy.
    widget->GroupEntry = Members.insert(Members.end(), widget);
    widget->Group = this;
    return true;
}

TGadget TWidgetGroup::Register(const std::string& tag, TGadget gadget) {
    TWidget* widget = TWidget::Create(tag);
    widget->Gadget = gadget;
    Add(widget);
    return gadget;
}

bool TWidgetGroup::Show(bool lock) {
    if (PanelLocked) return true;
    if (lock) PanelLocked = true;
    for (TWidget* member : Members) {
        if (member->Gadget == nullptr) {
            PanelLog(1, "LOG: Cannot show a null gadget!");
            return false;
        }
        SetVisible(member->Gadget, true);
    }
    return true;
}

bool TWidgetGroup::Hide() {
    PanelLocked = false;
    for (TWidget* member : Members) {
        if (member->Gadget == nullptr) {
            PanelLog(1, "LOG: Cannot hide a null gadget!");
            return false;
        }
        SetVisible(member->Gadget, false);
    }
    return true;
}
