#pragma once
// The game's global components: one object each, constructed before the entry
// function in a fixed order and destroyed in the reverse order at exit. Their
// constructors only set fields. Components reach each other through these.
#include "engine/platform/input_devices.h"
#include "frontend/high_scores.h"
#include "frontend/menu.h"
#include "frontend/menu_scene.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/level_base.h"
#include "game/scene.h"
#include "heroine/audio_system.h"
#include "heroine/bonus_game.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/fish_base.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

extern CPet g_pet;
extern CHeroine g_heroine;
extern CMachine g_machine;
extern CAudioSystem g_audioSystem;
// The hint windows of the upgrade shop and of the training.
extern CHintManager g_hintManager;
// Every fish kind of fishes.xml.
extern CFishBase g_fishBase;
extern CLocation g_location;
extern CInstrumentPanel g_instrumentPanel;
// The customer orders of the level being played.
extern COrderList g_orderList;
// Every level of levels.xml.
extern CLevelBase g_levelBase;
extern CAquariumSet g_aquariumSet;
extern CBonusGame g_bonusGame;
// The game's state: mode word, profiles, the level being played, upgrades.
extern CGameSession g_gameSession;
extern CMenu g_menu;
// The keyboard and mouse of the game, polled once per frame.
extern CInputDevices g_inputDevices;
extern CHighScores g_highScores;
extern CMenuScene g_menuScene;
// The order in which the world is built, reset, updated and drawn.
extern CScene g_scene;
