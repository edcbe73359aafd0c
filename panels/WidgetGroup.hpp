#pragma once
// One panel's widgets, shown and hidden as a unit; a locking Show makes the panels mutually exclusive.
// Groups live for the whole run. Show and Hide stop at the first member without a gadget and return false.

#include "panels/Widget.hpp"

#include <list>
#include <string>

struct TWidgetGroup {
    std::list<TWidget*> Members;
    std::string Tag;

    static TWidgetGroup* Create(const std::string& tag = "NULLGROUP");

    bool Add(TWidget* widget);
    // How panels are built: a widget tagged for the new gadget, added here; returns the gadget.
    TGadget Register(const std::string& tag, TGadget gadget);
    bool Show(bool lock);
    bool Hide();
};
