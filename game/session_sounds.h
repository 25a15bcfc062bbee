#pragma once
// The sample and stream numbers the session's level flow and screens play.
#include <initializer_list>

#include "engine/media/resource_manager.h"

namespace session_sound {

inline constexpr unsigned LEVEL_LOST = 26;
inline constexpr unsigned LEVEL_WON = 27;
inline constexpr unsigned NEED_REACHED = 28;
inline constexpr unsigned EXPERT_REACHED = 29;
inline constexpr unsigned SAVINGS_ADDED = 30;
inline constexpr unsigned MACHINE_WORKING = 31;
// The audio system's effect, one per level 1 to 3.
inline constexpr unsigned FIRST_AUDIO_EFFECT = 35;
inline constexpr unsigned PAUSE = 55;
inline constexpr unsigned FIRST_AMBIENT = 56;
inline constexpr unsigned AMBIENT_COUNT = 3;
inline constexpr unsigned TIME_UP = 59;

inline constexpr unsigned MENU_STREAM = 0;
inline constexpr unsigned BONUS_STREAM = 6;

inline CSoundManager& Manager() {
    return ResourceManager::Instance().GetSoundManager();
}

inline void PlaySample(unsigned sample, bool fadeIn = false) {
    Manager().Play(SoundType::Sample, sample, true, fadeIn);
}

inline void PauseSamples(std::initializer_list<unsigned> samples) {
    for (const unsigned sample : samples) {
        Manager().Pause(SoundType::Sample, sample);
    }
}

inline void PauseAmbient() {
    PauseSamples({FIRST_AMBIENT, FIRST_AMBIENT + 1, FIRST_AMBIENT + 2});
}

inline void PauseAudioEffects() {
    PauseSamples({FIRST_AUDIO_EFFECT, FIRST_AUDIO_EFFECT + 1, FIRST_AUDIO_EFFECT + 2});
}

}  // namespace session_sound
