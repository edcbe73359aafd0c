#pragma once
// A clean world for each rules test: empty content lists, a fresh player, the scene's lists emptied and the
// layers the rules draw into, and a scratch directory that is the working directory during the test.

#include "platform/EventChain.hpp"
#include "platform/headless/Headless.hpp"
#include "rules/Action.hpp"
#include "rules/Item.hpp"
#include "rules/Player.hpp"
#include "rules/Station.hpp"
#include "scene/Hotspot.hpp"
#include "scene/Layer.hpp"
#include "scene/Radial.hpp"
#include "tests/rules/TempContent.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class RulesTest : public ::testing::Test {
  protected:
    TTempContent dir;
    std::filesystem::path previousDir;
    std::vector<std::string> log;
    int fileSerial = 0;

    void SetUp() override {
        HeadlessReset();
        SetDebugLogSink([this](const std::string& line) { log.push_back(line); });
        ItemList.clear();
        ActionList.clear();
        StationList.clear();
        Player = TPlayer{};
        ActiveGoalWalker = nullptr;
        ShowWeeklyReviewHook = nullptr;
        WeeklyGoalCheckHook = nullptr;
        WeekGoalsGatherer = nullptr;
        StationInfoFiller = nullptr;
        InfoPageShower = nullptr;
        ClearScene();
        for (const char* tag : {"stations", "displays", "radials", "text"})
            TLayer::Create(tag);
        previousDir = std::filesystem::current_path();
        std::filesystem::current_path(dir.root);
    }
    void TearDown() override {
        std::filesystem::current_path(previousDir);
        SetDebugLogSink(nullptr);
        StationList.clear();
        ClearScene();
    }
    // Sprites and their layers point at each other, so the layers are emptied before they are dropped.
    static void ClearScene() {
        OpenRadial.reset();
        RadialList.clear();
        GrabbedHotspot.reset();
        HotspotList.clear();
        for (const TLayerRef& layer : LayerList)
            layer->Sprites.clear();
        CurrentLayer.reset();
        LayerList.clear();
    }

    std::string NextName(const std::string& folder) {
        return folder + "/f" + std::to_string(fileSerial++) + ".txt";
    }
    TItem* Item(const std::string& tag, const std::string& type = "NOMINAL", const std::string& extra = "") {
        return TItem::Load(dir.Write(NextName("items"), "NAME=\"Name of " + tag + "\"\nTAG=\"" + tag +
                                                            "\"\nSetItemType(\"" + type + "\")\n" + extra));
    }
    TAction* Action(const std::string& text) { return TAction::Load(dir.Write(NextName("actions"), text)); }
    // An action offered by the level, as level start leaves it.
    TAction* Unlocked(const std::string& text) {
        TAction* action = Action(text);
        action->locked = 0;
        return action;
    }
    bool Logged(const std::string& line) const {
        for (const std::string& entry : log) {
            if (entry == line) return true;
        }
        return false;
    }
};
