#pragma once
// The samples of the shop floor, by their place among the Sample resources.
#include "engine/media/resource_manager.h"
#include "engine/media/sound_manager.h"

namespace shop_sound {

inline constexpr unsigned FISH_DIED = 4;
inline constexpr unsigned WISH_WARNING = 5;
inline constexpr unsigned STAGE_UP = 6;
inline constexpr unsigned STAGE_DOWN = 7;
inline constexpr unsigned FISH_GROWN = 8;
inline constexpr unsigned BRUSH_WISH = 11;
inline constexpr unsigned WISH = 12;
inline constexpr unsigned WISH_EXPIRED = 13;
inline constexpr unsigned WISH_MET = 14;
inline constexpr unsigned WISH_MET_FAST = 15;
inline constexpr unsigned SALE_CHAIN_1 = 16;
inline constexpr unsigned SALE_CHAIN_2 = 17;
inline constexpr unsigned SALE_CHAIN_3 = 18;
inline constexpr unsigned WATER_CLEANED = 44;

// From its start, without fading in.
inline void Play(unsigned sample) {
    ResourceManager::Instance().GetSoundManager().Play(SoundType::Sample, sample, true, false);
}

}  // namespace shop_sound
