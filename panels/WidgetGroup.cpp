#include "panels/WidgetGroup.hpp"

#include "panels/GlobalGadgets.hpp"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<TWidgetGroup>> AllGroups;
// The open panels that were shown with the lock, oldest first.
std::vector<TWidgetGroup*> LockHolders;

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
    if (lock) {
        // Unlocked, no panel holds anything, whatever was left behind.
        LockHolders.assign(1, this);
        PanelLocked = true;
    }
    return ShowMembers();
}

bool TWidgetGroup::ShowOverOthers() {
    if (!PanelLocked) LockHolders.clear();
    std::erase(LockHolders, this);
    LockHolders.push_back(this);
    PanelLocked = true;
    return ShowMembers();
}

bool TWidgetGroup::ShowMembers() {
    for (TWidget* member : Members) {
        if (member->Gadget == nullptr) {
            PanelLog(1, "LOG: Cannot show a null gadget!");
            return false;
        }
        SetVisible(member->Gadget, true);
    }
    return true;
}

bool TWidgetGroup::HoldsLock() const {
    return PanelLocked && std::find(LockHolders.begin(), LockHolders.end(), this) != LockHolders.end();
}

bool TWidgetGroup::Hide() {
    std::erase(LockHolders, this);
    PanelLocked = PanelLocked && !LockHolders.empty();
    for (TWidget* member : Members) {
        if (member->Gadget == nullptr) {
            PanelLog(1, "LOG: Cannot hide a null gadget!");
            return false;
        }
        SetVisible(member->Gadget, false);
    }
    return true;
}
