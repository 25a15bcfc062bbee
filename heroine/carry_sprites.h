#pragma once
// The picture of one carried thing, a care item in one of the heroine's hands
// or an interior set, as five layers of sprites for each of the eight facing
// directions. An interior set is a tray (layer 0) carrying a ground, an
// algae, a house and a coral piece (layers 1 to 4); a care item uses layer 0.
#include <array>
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/platform/geometry.h"

struct InputState;

class CCarrySprites {
public:
    static constexpr int LAYERS = 5;
    static constexpr int DIRECTIONS = 8;

    // Every sprite empty, at offset (0, 0).
    void Clear();
    // Moves all sprites together; their own positions stay relative to it.
    void SetPosition(float x, float y);

    // Each builder replaces the whole content from the mask and places the
    // set at (x, y), the top-left corner of the carrier's box.
    void BuildInteriorSet(float x, float y, std::uint32_t mask);
    void BuildCareItemFirstHand(float x, float y, std::uint32_t mask);
    void BuildCareItemSecondHand(float x, float y, std::uint32_t mask);

    // Only the tray facing down can be hovered (the machine's finished set).
    void UpdateHover(const InputState& input, Vec2 screenScale);
    bool IsHovered() const { return m_sprites[0].hovered; }
    void ClearHover() { m_sprites[0].hovered = false; }

    // Draws the five layers of one facing direction, given as an index 0 to 7
    // or as one of the heroine's state values; any other value draws nothing.
    void Render(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t directionOrState,
                std::uint32_t colour);

    // The direction index of a value Render accepts, -1 for any other.
    static int DirectionOf(std::uint32_t directionOrState);

    const CGuiImage& GetSprite(int layer, int direction) const {
        return m_sprites[static_cast<std::size_t>(layer * DIRECTIONS + direction)];
    }

private:
    enum class Hand { First, Second };
    void BuildCareItem(float x, float y, std::uint32_t mask, Hand hand);

    std::array<CGuiImage, LAYERS * DIRECTIONS> m_sprites{};
};
