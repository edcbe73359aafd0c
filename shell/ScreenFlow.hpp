#pragma once
// The moves between screens that the dispatchers share: back to the level list, a level's retry, closing
// the weekly review into the goal evaluation, and bringing the tutorial window back at the level's page.

void BackToLevelList();
void RetryLevel();
void CloseStatsPanel();
void ShowTutorial();
