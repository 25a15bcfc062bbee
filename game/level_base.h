#pragma once
// Every level of the game as levels.xml lists it, read once when the world is
// set up. Levels are numbered 1, 2, 3, ... in file order, story and bonus
// levels alike; a level start takes a copy of its record.
#include <cstdint>
#include <string>
#include <vector>

#include "shopfloor/item_codes.h"

// One customer order of a level.
struct CLevelTask {
    FishKind kind = FISH_NONE;
    std::int32_t amount = 0;
    // Seconds after the level start.
    float creation_time = 0.0f;
    // The order arrives at the computer.
    bool computer_order = false;
};

// Enemy kinds of the bonus game: two gulls, then two turtles.
enum LevelEnemyKind : std::int32_t {
    ENEMY_GULL_1 = 0,
    ENEMY_GULL_2 = 1,
    ENEMY_TURTLE_1 = 2,
    ENEMY_TURTLE_2 = 3,
};

// One gull or turtle of a bonus level.
struct CLevelEnemy {
    std::int32_t kind = 0;
    std::int32_t path = 0;
    float speed = 0.0f;
    float attack_speed = 0.0f;
    float energy = 0.0f;
    float rest = 0.0f;
    // Seconds after the start of the bonus game.
    float creation_time = 0.0f;
};

class CLevelRecord {
public:
    CLevelRecord() { Reset(); }

    // The defaults of a missing level (number -1), both lists emptied.
    void Reset();
    // Enemies of a turtle kind.
    std::int32_t CountTurtles() const;

    // -1 marks the absence of a level.
    std::int32_t number;
    // The seven values a Setup element carries from one level to the next.
    std::int32_t location;
    std::int32_t location_level;
    std::int32_t food_types;
    std::int32_t brush_types;
    std::int32_t medic_types;
    std::int32_t machine_ingridients;
    std::int32_t base_aquariums;
    // Minutes.
    float need_time;
    // Minutes; read and kept, but nothing plays by it.
    float expert_time;
    std::int32_t need;
    std::int32_t expert;
    std::vector<CLevelTask> tasks;
    bool bonus;
    std::vector<CLevelEnemy> enemies;
};

// The shop locations a level can be played in.
inline constexpr std::int32_t FIRST_LOCATION = 1;
inline constexpr std::int32_t LAST_LOCATION = 3;

inline constexpr char LEVELS_PATH[] = "Resources/Data/levels.xml";

class CLevelBase {
public:
    CLevelBase() = default;
    ~CLevelBase() { Clear(); }
    CLevelBase(const CLevelBase&) = delete;
    CLevelBase& operator=(const CLevelBase&) = delete;

    // Reads levels.xml, replacing the levels read before; the number of levels
    // read, 0 when the file does not open.
    std::int32_t Load() { return Load(LEVELS_PATH); }
    std::int32_t Load(const std::string& path);
    void Clear();

    // A copy of level n (1-based); a default record, number -1, for 0 and
    // numbers beyond the count.
    CLevelRecord GetLevel(std::uint32_t n) const;
    // Bonus levels among the first n records; n = 0 counts them all.
    std::int32_t CountBonusLevels(std::uint32_t n) const;
    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_levels.size()); }
    // Whether the last Load read the whole file: its outermost element was
    // closed and no syntax error stopped the reading.
    bool IsWhole() const { return m_whole; }
    // Level n is the one after the last level of a whole file: reaching it
    // ends the game. Any other missing level means the file is damaged or the
    // profile does not fit it.
    bool IsEndOfGame(std::int32_t n) const { return m_whole && n == GetCount() + 1; }

private:
    std::vector<CLevelRecord> m_levels;
    bool m_whole = false;
};

// Every level of levels.xml. One for the whole game, defined in game/globals.cpp.
extern CLevelBase g_levelBase;
