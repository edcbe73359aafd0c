#pragma once
// Connects the hooks through which lower floors reach higher ones: rules opening panels, scene layers
// drawn by rules, the motivation rules reading goals. Called once at start-up, before anything can fire.

void ConnectRules();
