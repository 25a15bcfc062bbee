#pragma once
// One aquarium slot of the shop floor: its upgrade level and the fish it holds.
#include <cstdint>

class CAquarium {
public:
    // 0 not bought, 1 to 4.
    std::int32_t GetLevel() const { return m_level; }
    void SetLevel(std::int32_t level) { m_level = level; }

private:
    std::int32_t m_level = 0;
};
