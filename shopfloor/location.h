#pragma once
// The backdrop of the shop floor: the room of the current location with its
// decoration. Other parts ask it which location is being played.
#include <cstdint>

class CLocation {
public:
    // 1 to 3, as last set for the level.
    std::int32_t GetLocation() const { return m_location; }

private:
    std::int32_t m_location = 1;
};
