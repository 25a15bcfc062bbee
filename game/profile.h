#pragma once
// One player: the name typed in the menu and the whole state of that player's
// game. profiles.sav holds these records back to back, 136 bytes each.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The save of the profile list, in the per-user folder.
inline constexpr const char* PROFILES_FILE = "profiles.sav";

class CSaveReader;
class CSaveWriter;

class CProfile {
public:
    static constexpr std::size_t RECORD_SIZE = 136;
    static constexpr std::size_t NAME_UNITS = 17;
    static constexpr std::size_t MAX_NAME_LENGTH = 16;
    static constexpr int SLOT_COUNT = 5;

    // A record to be read into.
    CProfile() { Reset(); }
    // A new player: the name cut to 16 units, current, new-game values.
    explicit CProfile(std::u16string_view name);

    // Every field but the name and the current flag back to a new game's.
    void Reset();

    // The name up to its terminating 0.
    std::u16string GetName() const;
    bool HasName(std::u16string_view name) const { return GetName() == name; }

    void Write(CSaveWriter& writer, std::size_t base) const;
    void Read(CSaveReader& reader, std::size_t base);

    char16_t name[NAME_UNITS] = {};
    std::uint8_t current = 0;
    std::uint8_t gameStarted = 0;
    std::int32_t tries = 0;
    std::int32_t levelIndex = 0;  // 1-based position in levels.xml of the next level
    std::int32_t secondCounter = 0;
    std::int32_t reserved1 = 0;
    float secondCounterShown = 0.0f;
    std::int32_t levelCash = 0;
    std::int32_t totalScore = 0;
    std::int32_t savings = 0;
    float shownCash = 0.0f;
    std::int32_t storyLevel = 0;
    std::int32_t slotLevels[SLOT_COUNT] = {};
    std::int32_t reserved2 = 0;
    std::int32_t petKind = 0;
    std::int32_t petLevel = 0;
    std::int32_t footwearLevel = 0;
    std::int32_t machineLevel = 0;
    std::int32_t computerLevel = 0;
    std::int32_t audioSystemLevel = 0;
    std::int32_t growthVitaminLevel = 0;
    std::int32_t costVitaminLevel = 0;
    std::uint8_t bonusReward = 0;
};
