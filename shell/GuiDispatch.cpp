#include "shell/GuiDispatch.hpp"

#include "panels/Widget.hpp"

void DispatchGuiEvent() {
    HandleWindowAndReviewEvent();
}

void HandleWindowAndReviewEvent() {
    const TEvent& event = CurrentEvent();
    if (event.id != WindowClose) return;
    // Only widgets' gadgets can be sources here; timers never close windows.
    TWidget* widget = TWidget::FindWidgetByGadget(event.source);
    if (widget != nullptr && widget->Tag == "WINMAIN") EndProgram();
}
