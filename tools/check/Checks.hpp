#pragma once
// The checks, one file each. Each reads the watched start-up and the game state it left, and adds a line
// for every mistake it sees; none changes the game state.

#include <string>

struct TContentRun;
struct TCheckReport;

// The page the game opens at start-up, and the folder its tutorial pages must lie in.
inline const std::string MainMenuPage = "content/html/MainMenu.html";
inline const std::string TutorialFolder = "content/tut/";

void CheckLogLines(const TContentRun& run, TCheckReport& report);
void CheckDuplicateTags(const TContentRun& run, TCheckReport& report);
void CheckItems(const TContentRun& run, TCheckReport& report);
void CheckActions(const TContentRun& run, TCheckReport& report);
void CheckStations(const TContentRun& run, TCheckReport& report);
void CheckLevels(const TContentRun& run, TCheckReport& report);
void CheckFinalGoals(const TContentRun& run, TCheckReport& report);
void CheckLayout(const TContentRun& run, TCheckReport& report);
void CheckMenuLinks(const TContentRun& run, TCheckReport& report);
void CheckMedia(const TContentRun& run, TCheckReport& report);
void CheckPages(const TContentRun& run, TCheckReport& report);
