#pragma once
// The prices and values of every upgrade level, read from upgrades.xml. Each
// upgrade owns a run of rows, one per level; a level's values are in the row of
// its first row plus level - 1.
#include <array>
#include <cstdint>
#include <string>

struct UpgradeRecord {
    // The price of the level the row stands for.
    std::int32_t cost = 0;
    // Walking speed (footwear).
    float speed = 0.0f;
    // Aquarium, pet aquarium and audio system.
    float effect = 0.0f;
    // Seconds of work and of recharging (machine and audio system).
    float work_time = 0.0f;
    float charging_time = 0.0f;
    // The highest level (vitamins).
    std::int32_t max = 0;
};

// The first row of each upgrade.
enum UpgradeRow : std::int32_t {
    UPGRADE_ROW_FOOTWEAR = 0,
    UPGRADE_ROW_PET_AQUARIUM = 3,
    UPGRADE_ROW_AQUARIUM = 9,
    UPGRADE_ROW_MACHINE = 13,
    UPGRADE_ROW_AUDIO_SYSTEM = 16,
    UPGRADE_ROW_COMPUTER = 19,
    UPGRADE_ROW_VITAMIN_COST = 20,
    UPGRADE_ROW_VITAMIN_GROWTH = 21,
    UPGRADE_ROW_COUNT = 22,
};

inline constexpr char UPGRADES_PATH[] = "Resources/Data/upgrades.xml";

class UpgradeTable {
public:
    // Every row zero.
    void Clear();
    // The one way to read a row: outside 0..21 it answers a zero row, so a
    // level word out of its range can never read beside the table.
    const UpgradeRecord& Row(std::int32_t index) const;

    // Clears the table and reads upgrades.xml into it, logging the start, a
    // file that does not open (false, the table stays zero) and the end.
    bool Load(const std::string& path = UPGRADES_PATH);

private:
    std::array<UpgradeRecord, UPGRADE_ROW_COUNT> m_rows{};
};
