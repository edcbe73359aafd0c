#pragma once
// A GUI control registered under a text tag, so that an event's source can be turned back into a name.
// The registry owns every widget for the whole run; Destroy unregisters it and frees its gadget only.
// Failures are results (false or none) with a "LOG: " line at DebugLevel 1 and above.

#include "platform/Platform.hpp"

#include <list>
#include <string>

struct TWidget;
struct TWidgetGroup;

// Every live widget in creation order.
extern std::list<TWidget*> WidgetRegistry;

struct TWidget {
    TGadget Gadget = nullptr;
    std::string Tag;
    std::list<TWidget*>::iterator RegistryEntry;
    TWidgetGroup* Group = nullptr; // the group GroupEntry belongs to, none until added
    std::list<TWidget*>::iterator GroupEntry;

    static TWidget* Create(const std::string& tag = "NULLWIDGET");
    static TWidget* FindWidgetByGadget(const void* gadget);

    bool Destroy();
};
