#pragma once
// A place in the world: an image the pointer can click, a list of actions, and the radial menu of them.
// StationList owns every station for the whole run; a station refers to actions owned by ActionList.
// A file without "SetImage" yields no station (logged); a missing image leaves a sprite that draws nothing.

#include "rules/Action.hpp"
#include "rules/InfoText.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Radial.hpp"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

inline constexpr int StationImages = 3;

struct TStation {
    TInfoText infoText;
    std::string tag;
    THotspotRef target;
    std::vector<TAction*> actions;
    TRadialRef radial;
    int x = 0;
    int y = 0;
    std::array<TSpriteRef, StationImages> images;
    int imageIndex = 0;

    static TStation* Create();
    static TStation* CreateWithImage(const std::string& path, int cellWidth, int cellHeight, int firstCell,
                                     int cellCount);
    static TStation* Load(const std::string& path);
    static int LoadAll();
    static void Activate(TStation* station);
    static void Deactivate(TStation* station);
    static void DeactivateAll();
    static TStation* FindByTag(const std::string& tag);
    static TStation* FindByTargetTag(const std::string& tag);

    void SetPosition(int toX, int toY);
    void AddAlternate(const std::string& path, int cellWidth, int cellHeight, int firstCell, int cellCount,
                      int index);
    // An index without an image keeps the station's current look.
    void UseAlternate(int index);
    void ShowInfo();
    void BuildRadial();
    void UpdateRadialStates();
    // The unlocked actions in list order, as the page's list and the radial show them.
    std::vector<TAction*> AvailableActions() const;
};

// Every station in load order.
extern std::vector<std::unique_ptr<TStation>> StationList;

// Records which station's page the information panel shows and fills its list with the entries' names
// and skill icon numbers. Connected by the shell to the information panel.
extern std::function<void(const std::string& stationTag,
                          const std::vector<std::pair<std::string, int>>& entries)>
    StationInfoFiller;
