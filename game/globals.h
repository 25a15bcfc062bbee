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
