// Every global component is defined here and nowhere else, so that their
// construction follows this order and their destruction the reverse.
#include "game/globals.h"

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
