#pragma once
// The moves between screens that the dispatchers share: back to the level list, a level's retry,
// the statistics panel and the tutorial window.

void BackToLevelList();
void RetryLevel();
void ShowPlayerStats();
void CloseStatsPanel();
void ShowTutorial();
void HideTutorial();
