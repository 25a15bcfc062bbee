#pragma once
// The game's global components: one object each, constructed before the entry
// function in a fixed order and destroyed in the reverse order at exit. Their
// constructors only set fields. Components reach each other through these.
#include "engine/platform/input_devices.h"
#include "game/hint_manager.h"

// The hint windows of the upgrade shop and of the training.
extern CHintManager g_hintManager;
// The keyboard and mouse of the game, polled once per frame.
extern CInputDevices g_inputDevices;
