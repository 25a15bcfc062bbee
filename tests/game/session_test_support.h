#pragma once
// Shared by the session tests: save-file bytes built from records, and a fresh
// global session for tests that run the whole application.
#include <initializer_list>
#include <memory>
#include <string>

#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/profile.h"
#include "game/save_file.h"
#include "heroine/audio_system.h"
#include "heroine/bonus_game.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

namespace session_test {

// The bytes of profiles.sav holding these records.
inline std::string ProfileFile(std::initializer_list<CProfile> profiles) {
    CSaveWriter writer(CProfile::RECORD_SIZE * profiles.size());
    std::size_t base = 0;
    for (const CProfile& profile : profiles) {
        profile.Write(writer, base);
        base += CProfile::RECORD_SIZE;
    }
    return std::string(writer.Bytes().begin(), writer.Bytes().end());
}

// The global session as the program starts with it.
inline void ResetGlobalSession() {
    std::destroy_at(&g_gameSession);
    std::construct_at(&g_gameSession);
}

// The world the scene draws, as the program starts with it: a test that
// renders the scene sees no aquarium, fish, tip or creature an earlier test
// left behind.
inline void ResetWorld() {
    const auto renew = [](auto& global) {
        std::destroy_at(&global);
        std::construct_at(&global);
    };
    renew(g_aquariumSet);
    renew(g_pet);
    renew(g_heroine);
    renew(g_machine);
    renew(g_audioSystem);
    renew(g_instrumentPanel);
    renew(g_orderList);
    renew(g_hintManager);
    renew(g_bonusGame);
    renew(g_location);
}

}  // namespace session_test
