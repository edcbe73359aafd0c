#pragma once
// A rules world with the goal state emptied, the goal layers made, motivation connected to the player, a
// ten-week level at week 1, and token pictures of 40 x 40 frames written into the test's own media/ folder.

#include "rules/Goal.hpp"
#include "rules/GoalMenu.hpp"
#include "scene/Motivation.hpp"
#include "scene/Pointer.hpp"
#include "scene/TimeBar.hpp"
#include "tests/rules/RulesFixture.hpp"

#include <string>
#include <vector>

class GoalTest : public RulesTest {
  protected:
    // The prompts the evaluation asked for, as "KIND:GOAL_n".
    std::vector<std::string> prompts;

    void SetUp() override {
        RulesTest::SetUp();
        ResetGoals();
        for (const char* tag : {"goalstrings", "goals", "iconlayer"})
            TLayer::Create(tag);
        LevelLength = 10;
        CurrentWeek = 1;
        PointerX = PointerY = PointerButton = 0;
        TPlayer::InitSkills();
        dir.WriteBmp("media/goal.png", 120, 40);
        dir.WriteBmp("media/focusedgoal.png", 120, 40);
        dir.WriteBmp("media/finalgoal.png", 120, 40);
        GoalPassedPrompt = Recorder("GOALPASS");
        GoalFailedPrompt = Recorder("GOALFAIL");
        FinalPassedPrompt = Recorder("FINALPASS");
        FinalFailedPrompt = Recorder("FINALFAIL");
    }
    void TearDown() override {
        GoalPassedPrompt = GoalFailedPrompt = FinalPassedPrompt = FinalFailedPrompt = nullptr;
        MotivationValue = nullptr;
        ResetGoals();
        RulesTest::TearDown();
    }
    static void ResetGoals() {
        GoalList.clear();
        GoalCount = 0;
        GoalSerial = 1;
        EvalCursor.reset();
        PlanningTemplate.reset();
        FocusedTemplate.reset();
        FinalTemplate.reset();
        GoldLinkImage.reset();
    }
    TGoalPromptHook Recorder(const std::string& kind) {
        return [this, kind](const TGoalRef& goal) { prompts.push_back(kind + ":" + goal->hotspot->Tag); };
    }

    static TGoalRef SkillGoal(int skill, int level, int deadline) {
        TGoalRef goal = TGoal::CreateSkillGoal(skill, level);
        goal->SetDeadline(deadline, 1);
        return goal;
    }
    static TGoalRef FocusedSkillGoal(int skill, int level, int deadline) {
        TGoalRef goal = SkillGoal(skill, level, deadline);
        goal->Focus();
        return goal;
    }
    static void Settle(int ticks = 30) {
        for (int i = 0; i < ticks; ++i)
            TGoal::UpdateAll("NULL", "NULL");
    }
    static bool InHotspotList(const THotspotRef& hotspot) {
        for (const THotspotRef& h : HotspotList) {
            if (h == hotspot) return true;
        }
        return false;
    }
    static bool InLayer(const std::string& layer, const TSpriteRef& sprite) {
        for (const TSpriteRef& s : TLayer::Find(layer)->Sprites) {
            if (s == sprite) return true;
        }
        return false;
    }
};
