#pragma once
// config.cfg, the only stored setting of the game: the fullscreen display
// mode, whether the game runs in a window, and the music and sound volumes.
#include <cstddef>
#include <cstdint>
#include <vector>

// In the per-user folder.
inline constexpr const char* CONFIG_FILE = "config.cfg";

struct ConfigRecord {
    static constexpr std::size_t SIZE = 24;

    std::uint32_t format = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint8_t windowed = 0;
    std::int32_t musicVolume = 0;
    std::int32_t soundVolume = 0;

    std::vector<std::uint8_t> ToBytes() const;
    // `bytes` must hold SIZE bytes.
    static ConfigRecord FromBytes(const std::vector<std::uint8_t>& bytes);
};
