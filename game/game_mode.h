#pragma once
// The bits of the session's game-mode word. Every screen, overlay and pending
// step of the game is one bit; several are set together when a step is queued,
// and the session serves the pending ones once the fade has reached black.
#include <cstdint>

inline constexpr std::uint32_t MODE_LOADING = 0x1;
inline constexpr std::uint32_t MODE_MENU = 0x4;
inline constexpr std::uint32_t MODE_GAME = 0x8;
inline constexpr std::uint32_t MODE_PAUSED = 0x20;
inline constexpr std::uint32_t MODE_BRIEFING = 0x40;
inline constexpr std::uint32_t MODE_TRAINING = 0x100;
inline constexpr std::uint32_t MODE_COMICS_1 = 0x200;
inline constexpr std::uint32_t MODE_COMICS_2 = 0x400;
inline constexpr std::uint32_t MODE_COMICS_3 = 0x800;
inline constexpr std::uint32_t MODE_COMICS_4 = 0x1000;
inline constexpr std::uint32_t MODE_GAME_COMPLETED = 0x2000;
inline constexpr std::uint32_t MODE_PET_CHOICE = 0x4000;
inline constexpr std::uint32_t MODE_MAP = 0x8000;
inline constexpr std::uint32_t MODE_SHOP = 0x10000;
inline constexpr std::uint32_t MODE_EXIT_TO_MENU = 0x20000;
inline constexpr std::uint32_t MODE_LEVEL_FAILED = 0x40000;
inline constexpr std::uint32_t MODE_LEVEL_COMPLETE = 0x80000;
inline constexpr std::uint32_t MODE_RETRY = 0x100000;
inline constexpr std::uint32_t MODE_NEXT_LEVEL = 0x200000;
inline constexpr std::uint32_t MODE_FADE_OUT = 0x1000000;
inline constexpr std::uint32_t MODE_LEAVE_SCREEN = 0x4000000;
inline constexpr std::uint32_t MODE_LOAD_TEXTURES = 0x8000000;
inline constexpr std::uint32_t MODE_GAME_OVER_PAGE = 0x10000000;

// The screens that replace the world: the comic pages, the game-completed
// page, the pet choice, the map and the shop.
inline constexpr std::uint32_t MODE_SCREENS = MODE_COMICS_1 | MODE_COMICS_2 | MODE_COMICS_3 |
                                              MODE_COMICS_4 | MODE_GAME_COMPLETED |
                                              MODE_PET_CHOICE | MODE_MAP | MODE_SHOP;
