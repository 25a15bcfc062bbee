#pragma once
// The game's global components: one object each, constructed before the entry
// function in a fixed order and destroyed in the reverse order at exit. Their
// constructors only set fields. Components reach each other through these.
#include "engine/platform/input_devices.h"
#include "frontend/high_scores.h"
#include "frontend/menu_scene.h"

// The keyboard and mouse of the game, polled once per frame.
extern CInputDevices g_inputDevices;

// The best final scores, shown on the menu's high-score page.
extern CHighScores g_highScores;
// The animated backdrop of the menu pages.
extern CMenuScene g_menuScene;
