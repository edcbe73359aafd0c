#include "panels/InfoPanel.hpp"

#include "panels/GlobalGadgets.hpp"
#include "panels/Widget.hpp"

TWidgetGroup* InfoGroup = nullptr;
TInfoText InfoShown;
std::string InfoKind;
std::string InfoStationTag;
TImage SkillIcons;

TGadget InfoPanelGadget = nullptr;
TGadget InfoTitle = nullptr;
TGadget InfoInfo = nullptr;
TGadget InfoData = nullptr;
TGadget InfoImage = nullptr;
TGadget InfoInventory = nullptr;
TGadget InfoGo = nullptr;
TGadget InfoUp = nullptr;
TGadget InfoHelp = nullptr;
TGadget InfoClose = nullptr;

void TInfoPanel::Build() {
    if (InfoGroup == nullptr) InfoGroup = TWidgetGroup::Create("INFO_PANEL");
    SkillIcons = LoadIconStrip("media/SkillTypes.bmp");
    InfoPanelGadget =
        InfoGroup->Register("INFO_PANEL", AddPanel(0, 0, 350, 600, GameCanvas, 1, "Information"));
    InfoTitle =
        InfoGroup->Register("INFO_TITLE", AddLabel("TITLE", 10, 20, 250, 15, InfoPanelGadget, LabelCentred));
    InfoInfo = InfoGroup->Register("INFO_INFO",
                                   AddLabel("Information", 10, 70, 330, 150, InfoPanelGadget, LabelLeft));
    InfoData = InfoGroup->Register(
        "INFO_DATA", AddLabel("Data and statistics", 10, 230, 150, 200, InfoPanelGadget, LabelLeft));
    InfoImage = InfoGroup->Register("INFO_IMAGE", AddPanel(10, 440, 150, 150, InfoPanelGadget, 0, "Image"));
    InfoInventory = InfoGroup->Register("INFO_INVENTORY", AddListBox(175, 255, 150, 275, InfoPanelGadget, 0));
    InfoGo = InfoGroup->Register("INFO_GO", AddButton("View Item", 210, 560, 80, 25, InfoPanelGadget, 1));
    InfoUp = InfoGroup->Register("INFO_UP", AddButton("Back", 305, 24, 40, 20, InfoPanelGadget, 1));
    InfoHelp = InfoGroup->Register("INFO_HELP", AddButton("?", 305, 2, 20, 20, InfoPanelGadget, 1));
    InfoClose = InfoGroup->Register("INFO_CLOSE", AddButton("X", 326, 2, 20, 20, InfoPanelGadget, 1));
    if (SkillIcons != nullptr) SetIconStrip(InfoInventory, SkillIcons);
    Close();
}

void TInfoPanel::ShowPage(const TInfoText& page) {
    InfoShown = page;
    InfoKind = page.Kind;
    SetText(InfoTitle, page.Title);
    SetText(InfoInfo, page.Info);
    SetText(InfoData, page.Data);
    SetPicture(InfoImage, page.Picture, page.PictureFrame);
    InfoGroup->ShowOverOthers();
    if (page.ShowHelp == 0) SetVisible(InfoHelp, false);
    if (page.ShowClose == 0) SetVisible(InfoClose, false);
    if (page.ShowList == 0) {
        SetVisible(InfoInventory, false);
        SetVisible(InfoGo, false);
        SetBounds(InfoData, 10, 230, 300, 200);
    } else {
        SetBounds(InfoData, 10, 230, 150, 200);
    }
    CurrentPanel = InfoPanelGadget;
    if (page.ShowBack == 0) SetVisible(InfoUp, false);
}

void TInfoPanel::ShowStationList(const std::string& stationTag,
                                 const std::vector<std::pair<std::string, int>>& entries) {
    InfoStationTag = stationTag;
    ClearItems(InfoInventory);
    // The strip holds the "no skill" mark first, then the five skill icons, so a number is its index.
    for (const auto& [text, icon] : entries)
        AddItem(InfoInventory, text, 0, icon);
}

void TInfoPanel::ReturnTo(const std::string& stationTag) {
    InfoStationTag = stationTag;
}

bool TInfoPanel::Close() {
    InfoGroup->Hide();
    return true;
}
