#pragma once
// The backdrop of the shop floor: the room of the current location with the
// decoration pieces of its decoration level, the sea waves behind the windows
// and the bonus levels' picture. A newly reached decoration level flickers in
// during the first seconds of play. Other parts ask it which location is
// being played.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/media/sheet_animation.h"
#include "engine/platform/geometry.h"
#include "engine/platform/media_result.h"

class CLocation {
public:
    static constexpr std::int32_t PIECE_COUNT = 36;
    static constexpr std::int32_t WAVE_COUNT = 3;
    // The highest decoration level that adds pieces.
    static constexpr std::int32_t MAX_DECORATION = 6;
    // The rise is over once its counter reaches this.
    static constexpr float RISE_END = 16.0f;

    // The sea waves and the piece list; a second call builds the same again.
    void Build();
    // The location and decoration level of the level about to start. A higher
    // decoration than the one set before starts a rise.
    void Set(std::int32_t location, std::int32_t decorationLevel);
    // One frame of play: the rise and the waves of the location.
    void Update(Vec2 screenScale, float elapsed);
    // One frame of the upgrade shop: the decoration from before a pending
    // rise, and the waves.
    void UpdateShop(Vec2 screenScale, float elapsed);
    // With `bonus` only the bonus level's picture.
    HResult Render(backend::IRenderDevice* device, Vec2 screenScale, bool bonus);

    // 1 to 3, as last set for the level.
    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetDecorationLevel() const { return m_decoration; }
    std::int32_t GetShownDecoration() const { return m_shownDecoration; }
    std::int32_t GetRiseStep() const { return m_riseStep; }
    float GetRiseCounter() const { return m_riseCounter; }
    const std::vector<CGuiImage>& GetPieces() const { return m_pieces; }
    const CSheetAnimation& GetWave(std::int32_t wave) const {
        return m_waves[static_cast<std::size_t>(wave)];
    }

    // One piece or wave of a room's drawing and the decoration levels that
    // show it.
    struct RoomDraw {
        enum class Shown { ALWAYS, ZERO, NOT_ZERO, ABOVE, BELOW };
        bool wave;
        std::int32_t index;
        Shown shown;
        std::int32_t level;

        constexpr bool Holds(std::int32_t decoration) const {
            switch (shown) {
                case Shown::ZERO:
                    return decoration == 0;
                case Shown::NOT_ZERO:
                    return decoration != 0;
                case Shown::ABOVE:
                    return decoration > level;
                case Shown::BELOW:
                    return decoration < level;
                case Shown::ALWAYS:
                    break;
            }
            return true;
        }
    };

private:
    void UpdateWaves(float elapsed);
    void DrawPiece(backend::IRenderDevice* device, Vec2 screenScale, std::int32_t piece);
    void RenderRoom(backend::IRenderDevice* device, Vec2 screenScale,
                    std::span<const RoomDraw> draws);

    std::int32_t m_location = 1;
    std::int32_t m_decoration = 0;
    std::int32_t m_riseStep = 0;
    std::int32_t m_shownDecoration = 0;
    float m_riseCounter = 0.0f;
    std::array<CSheetAnimation, WAVE_COUNT> m_waves;
    std::vector<CGuiImage> m_pieces;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CLocation g_location;
