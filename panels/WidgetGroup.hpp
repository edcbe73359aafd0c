#pragma once
// One panel's widgets, shown and hidden as a unit; a locking Show makes the panels mutually exclusive.
// The lock stays set while any panel shown with it is still open: closing a page opened over another
// panel hands the lock back to that panel instead of freeing the world under it.
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
    // Shows and takes the lock even while another panel holds it: the information page opens over others.
    bool ShowOverOthers();
    bool Hide();
    // True while this panel is open and shown with the lock.
    bool HoldsLock() const;

  private:
    bool ShowMembers();
};
