// Every global component of the game is defined here and nowhere else; each is
// declared beside its class. Objects of static storage in one file are built
// before the entry function in the order of their definitions and destroyed at
// exit in the reverse order, while across files that order is left open. So
// they all stay in this one file, in this order, and the game's start and exit
// run the same way on every build. Their constructors only set fields; the
// components reach each other through these objects.
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

CPet g_pet;
CHeroine g_heroine;
CMachine g_machine;
CAudioSystem g_audioSystem;
CHintManager g_hintManager;
CFishBase g_fishBase;
CLocation g_location;
CInstrumentPanel g_instrumentPanel;
COrderList g_orderList;
CLevelBase g_levelBase;
CAquariumSet g_aquariumSet;
CBonusGame g_bonusGame;
CGameSession g_gameSession;
CMenu g_menu;
CInputDevices g_inputDevices;
CHighScores g_highScores;
CMenuScene g_menuScene;
// No constructor: it starts zero-filled like any plain static object, and
// OnDeviceCreated fills it before the first frame draws the game.
CScene g_scene;
