#include "rules/Station.hpp"

#include "rules/ContentFile.hpp"
#include "rules/TagIndex.hpp"
#include "scene/Layer.hpp"
#include "scene/RadialItem.hpp"

std::vector<std::unique_ptr<TStation>> StationList;
std::function<void(const std::string& stationTag, const std::vector<std::pair<std::string, int>>& entries)>
    StationInfoFiller;

namespace {

TSpriteRef LoadStrip(const std::string& path, int cellWidth, int cellHeight, int firstCell, int cellCount) {
    TLayer::Select("stations");
    return TSprite::LoadAnim(path, cellWidth, cellHeight, firstCell, cellCount, -1);
}

// The image path and the four cell numbers of a SetImage or SetAlternate line; a path that is no file is
// logged and loading goes on with a sprite that draws nothing.
struct TStripArgs {
    std::string path;
    int cells[4];
};

TStripArgs ReadStrip(const std::string& line) {
    TStripArgs args{TContentFile::QuotedArg(line, 0), {}};
    for (int i = 0; i < 4; ++i)
        args.cells[i] = TContentFile::ToInt(TContentFile::QuotedArg(line, i + 1));
    if (FileKind(args.path) != 1) DebugLog(args.path + " isn't valid!");
    return args;
}

size_t StationsCreated = 0;

} // namespace

TStation* TStation::Create() {
    ++StationsCreated;
    StationList.push_back(std::make_unique<TStation>());
    TStation* station = StationList.back().get();
    station->infoText = TInfoText::Create();
    station->infoText.ShowClose = 1;
    station->infoText.ShowHelp = 1;
    station->infoText.ShowList = 1;
    station->infoText.ShowBack = 0;
    station->infoText.Kind = "STATIONINFO";
    return station;
}

TStation* TStation::CreateWithImage(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                                    int cellCount) {
    TStation* station = Create();
    const TSpriteRef sprite = LoadStrip(path, cellWidth, cellHeight, firstCell, cellCount);
    station->target = THotspot::CreateForSprite(sprite, "STATION_", "_STATIONS");
    station->target->SetStateFrames(1, 0, 0, 0);
    station->images[0] = sprite;
    // Hidden until a level offers one of its actions.
    station->target->Hide();
    return station;
}

TStation* TStation::Load(const std::string& path) {
    TContentFile file = TContentFile::Open(path);
    const std::string image = file.FindSingle("SetImage");
    if (image == "NULL") {
        DebugLog("ERROR: Station" + path + " did not set an image!");
        file.Close();
        return nullptr;
    }
    const TStripArgs main = ReadStrip(image);
    TStation* station =
        CreateWithImage(main.path, main.cells[0], main.cells[1], main.cells[2], main.cells[3]);

    for (int index = 1; index < StationImages; ++index) {
        const std::string line = file.FindLine("SetAlternate");
        if (line == "NULL") break;
        const TStripArgs alt = ReadStrip(line);
        station->AddAlternate(alt.path, alt.cells[0], alt.cells[1], alt.cells[2], alt.cells[3], index);
    }
    file.Rewind();

    station->infoText.Title = TContentFile::QuotedArg(file.FindSingle("NAME="), 0);
    station->tag = TContentFile::QuotedArg(file.FindSingle("TAG="), 0);
    station->target->Tag = station->tag;
    station->infoText.Info = TContentFile::QuotedArg(file.FindSingle("DESCRIPTION="), 0);
    station->infoText.Data = TContentFile::QuotedArg(file.FindSingle("DATA="), 0);

    const std::string position = file.FindSingle("SetPosition");
    station->x = TContentFile::ToInt(TContentFile::QuotedArg(position, 0));
    station->y = TContentFile::ToInt(TContentFile::QuotedArg(position, 1));
    station->SetPosition(station->x, station->y);

    for (std::string line = file.FindLine("SetAction"); line != "NULL"; line = file.FindLine("SetAction")) {
        if (TAction* action = TAction::FindByTag(TContentFile::QuotedArg(line, 0))) {
            station->actions.push_back(action);
        }
    }
    file.Close();
    return station;
}

int TStation::LoadAll() {
    return TContentFile::LoadDirectory("content/stations", [](const std::string& path) { Load(path); });
}

void TStation::Activate(TStation* station) {
    if (station != nullptr && station->target != nullptr) station->target->Show();
}

void TStation::Deactivate(TStation* station) {
    if (station != nullptr && station->target != nullptr) station->target->Hide();
}

void TStation::DeactivateAll() {
    for (const auto& station : StationList)
        Deactivate(station.get());
}

TStation* TStation::FindByTag(const std::string& tag) {
    static TTagIndex<TStation, &TStation::tag> index;
    return index.Find(StationList, StationsCreated, tag);
}

TStation* TStation::FindByTargetTag(const std::string& tag) {
    if (!NamesEntry(tag)) return nullptr;
    for (const auto& station : StationList) {
        if (station->target != nullptr && station->target->Tag == tag) return station.get();
    }
    return nullptr;
}

void TStation::SetPosition(int toX, int toY) {
    if (target == nullptr) return;
    target->SetPosition(static_cast<float>(toX), static_cast<float>(toY));
    if (radial != nullptr) radial->MoveTo(toX + 50, toY + 50);
}

void TStation::AddAlternate(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                            int cellCount, int index) {
    if (index < 1 || index >= StationImages) return;
    images[index] = LoadStrip(path, cellWidth, cellHeight, firstCell, cellCount);
    images[index]->Hide();
}

void TStation::UseAlternate(int index) {
    if (index < 0 || index >= StationImages || images[index] == nullptr || target == nullptr) return;
    if (target->Sprite != nullptr) target->Sprite->Hide();
    target->Sprite = images[index];
    target->Sprite->SetPosition(target->X, target->Y);
    target->Sprite->Show();
    imageIndex = index;
}

std::vector<TAction*> TStation::AvailableActions() const {
    std::vector<TAction*> available;
    for (TAction* action : actions) {
        if (action->locked == 0) available.push_back(action);
    }
    return available;
}

void TStation::ShowInfo() {
    // The station as it stands now, the Gorum's home grown into a manor included.
    if (target != nullptr && target->Sprite != nullptr) infoText.Picture = target->Sprite->Image;
    infoText.Show();
    std::vector<std::pair<std::string, int>> entries;
    for (const TAction* action : AvailableActions())
        entries.emplace_back(action->name, action->SkillIconNumber());
    if (StationInfoFiller) StationInfoFiller(tag, entries);
}

void TStation::BuildRadial() {
    if (target == nullptr) return;
    if (radial != nullptr) radial->Destroy();
    const std::vector<TAction*> available = AvailableActions();
    const int slots = static_cast<int>(available.size()) + 1;
    DebugLog(std::to_string(slots));
    DebugLog("New Radial Created for " + tag + ": " + std::to_string(slots) + " items.");
    TRadialRef menu = TRadial::Create();
    menu->Radius = 150;
    const int centreX = static_cast<int>(target->X + static_cast<float>(target->Width / 2));
    const int centreY = static_cast<int>(target->Y + static_cast<float>(target->Height / 2));
    menu->Setup(centreX, centreY, slots, 1);
    for (TAction* action : available) {
        menu->AddItem(TRadialItem::CreateAction(action->tag, action->name, action->skillBase, action,
                                                action->GivenItemIcon()));
    }
    menu->ArrangeLabels();
    menu->OwnerHotspot = target;
    menu->OwnerObject = this;
    menu->MenuKind = "STATION";
    radial = menu;
    radial->Close(1);
}

void TStation::UpdateRadialStates() {
    if (radial == nullptr) return;
    const std::vector<TAction*> available = AvailableActions();
    for (size_t i = 0; i < available.size() && i < radial->Items.size(); ++i) {
        const TRadialItemRef& item = radial->Items[i];
        if (item == nullptr || item->Hotspot == nullptr) continue;
        if (available[i]->CanRun() == 0) {
            item->Hotspot->Disable();
            item->Hotspot->SetVariant(2);
        } else {
            item->Hotspot->SetVariant(available[i]->ServesActiveGoal() == 1 ? 1 : 0);
        }
    }
}
