#pragma once
// The information panel along the left of the canvas: one station's or action's page at a time.
// Built once and never torn down; the panel owns its controls and the copy of the page it shows.
// Nothing here reports an error: a missing icon strip leaves the list without icons.

#include "panels/WidgetGroup.hpp"
#include "platform/Platform.hpp"
#include "rules/InfoText.hpp"

#include <string>
#include <utility>
#include <vector>

struct TInfoPanel {
    // Loads the icons, creates the controls hidden and attaches the icons to the list.
    static void Build();
    // Fills the panel from a page whose line breaks are already converted, and shows it with the lock.
    static void ShowPage(const TInfoText& page);
    // Records the station whose page is shown and lists its entries: text and icon number (0: no skill).
    static void ShowStationList(const std::string& stationTag,
                                const std::vector<std::pair<std::string, int>>& entries);
    static bool Close();
    // The station "Back" returns to from an action's page read from that station's ring.
    static void ReturnTo(const std::string& stationTag);
};

extern TWidgetGroup* InfoGroup; // created by start-up before any widget, or by Build when it was not
extern TInfoText InfoShown;     // the texts and switches of the page shown last
extern std::string InfoKind;
extern std::string InfoStationTag;
extern TImage SkillIcons;

extern TGadget InfoPanelGadget;
extern TGadget InfoTitle;
extern TGadget InfoInfo;
extern TGadget InfoData;
extern TGadget InfoImage;
extern TGadget InfoInventory;
extern TGadget InfoGo;
extern TGadget InfoUp;
extern TGadget InfoHelp;
extern TGadget InfoClose;
