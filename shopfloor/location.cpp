#include "shopfloor/location.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "shopfloor/picture_desc.h"

namespace {

struct PieceDesc {
    const char* image;
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
    float x;
    float y;
};

// Every piece of every room, in the order the drawing refers to them by.
constexpr std::array<PieceDesc, CLocation::PIECE_COUNT> PIECES = {{
    // Location 1: the whole room, then its upper strip and changed lower part.
    {"LOCATION_1", 0, 1024, 0, 768, 0, 0},
    {"LOCATION_1", 0, 1024, 0, 208, 0, 0},
    {"LOCATION_UPDATES_1", 0, 1024, 400, 960, 0, 208},
    {"LOCATION_UPDATES_1", 745, 886, 29, 100, 571, 268},
    {"LOCATION_UPDATES_1", 563, 647, 18, 100, 145, 328},
    {"LOCATION_UPDATES_1", 648, 740, 25, 100, 870, 283},
    {"LOCATION_UPDATES_2", 0, 148, 0, 315, 0, 121},
    {"LOCATION_UPDATES_2", 150, 318, 0, 255, 767, 0},
    {"LOCATION_UPDATES_2", 0, 130, 592, 854, 894, 450},
    {"LOCATION_UPDATES_2", 213, 288, 434, 608, 946, 266},
    // Location 2: the whole room, then its lower strip and changed upper part.
    {"LOCATION_2", 0, 1024, 0, 768, 0, 0},
    {"LOCATION_2", 0, 1024, 257, 768, 0, 257},
    {"LOCATION_UPDATES_1", 0, 1024, 101, 358, 0, 0},
    {"LOCATION_UPDATES_2", 320, 486, 0, 250, 1, 0},
    {"LOCATION_UPDATES_1", 887, 1009, 15, 99, 333, 257},
    {"LOCATION_UPDATES_2", 149, 344, 257, 344, 621, 255},
    {"LOCATION_UPDATES_2", 418, 510, 556, 701, 81, 485},
    {"LOCATION_UPDATES_2", 282, 347, 655, 742, 411, 172},
    {"LOCATION_UPDATES_2", 348, 512, 703, 955, 860, 516},
    {"LOCATION_UPDATES_2", 291, 418, 556, 653, 747, 0},
    // Location 3 keeps its room and only adds pieces.
    {"LOCATION_3", 0, 1024, 0, 768, 0, 0},
    {"LOCATION_UPDATES_2", 291, 497, 446, 554, 0, 26},
    {"LOCATION_UPDATES_2", 347, 508, 252, 445, 864, 573},
    {"LOCATION_UPDATES_2", 131, 234, 609, 740, 922, 130},
    {"LOCATION_UPDATES_2", 113, 345, 344, 432, 317, 0},
    {"LOCATION_UPDATES_2", 111, 194, 433, 583, 270, 44},
    {"LOCATION_UPDATES_2", 210, 308, 742, 836, 180, 0},
    {"LOCATION_UPDATES_1", 0, 562, 0, 100, 243, 266},
    {"LOCATION_UPDATES_2", 0, 111, 316, 591, 913, 270},
    {"LOCATION_UPDATES_2", 130, 209, 742, 859, 925, 312},
    {"BONUS_GAME_LOCATION", 0, 1024, 0, 768, 0, 0},
    // The window frames over the waves: location 1 exchanges both of its own
    // for new ones as the decoration grows.
    {"SEA_WAVE_MASK", 0, 90, 0, 89, 12, 178},
    {"SEA_WAVE_MASK", 91, 179, 0, 89, 12, 178},
    {"SEA_WAVE_MASK", 181, 269, 0, 89, 808, 12},
    {"SEA_WAVE_MASK", 271, 359, 0, 89, 808, 12},
    {"SEA_WAVE_MASK", 361, 429, 0, 84, 251, 62},
}};

constexpr std::int32_t BONUS_PIECE = 30;

struct WaveDesc {
    float offsetX;
    float offsetY;
    float scaleX;
    std::int32_t cropLeft;
    std::int32_t cropRight;
    std::int32_t cropTop;
    std::int32_t cropBottom;
};

// Waves 0 and 1 look through the windows of location 1, wave 2 through the
// one of location 2; wave 1 is mirrored.
constexpr std::array<WaveDesc, CLocation::WAVE_COUNT> WAVES = {{
    {-5.0f, 135.0f, 1.0f, 20, 0, 45, -1},
    {878.0f, 10.0f, -1.0f, 17, 0, 4, -1},
    {253.0f, 24.0f, 1.0f, 0, -32, 38, -1},
}};

constexpr std::uint32_t WHITE = 0xFFFFFFFF;

using RoomDraw = CLocation::RoomDraw;
using Shown = CLocation::RoomDraw::Shown;

// What each room draws, back to front, and at which decoration levels.
constexpr RoomDraw ROOM_1[] = {
    {false, 0, Shown::ZERO, 0},   {false, 1, Shown::NOT_ZERO, 0}, {false, 2, Shown::NOT_ZERO, 0},
    {false, 3, Shown::ABOVE, 1},  {false, 5, Shown::ABOVE, 2},    {false, 6, Shown::ABOVE, 2},
    {false, 4, Shown::ABOVE, 3},  {false, 7, Shown::ABOVE, 3},    {false, 8, Shown::ABOVE, 4},
    {false, 9, Shown::ABOVE, 5},  {true, 0, Shown::ALWAYS, 0},    {false, 31, Shown::BELOW, 3},
    {false, 32, Shown::ABOVE, 2}, {true, 1, Shown::ALWAYS, 0},    {false, 33, Shown::BELOW, 4},
    {false, 34, Shown::ABOVE, 3},
};
constexpr RoomDraw ROOM_2[] = {
    {false, 10, Shown::ZERO, 0},  {false, 11, Shown::NOT_ZERO, 0}, {false, 12, Shown::NOT_ZERO, 0},
    {false, 13, Shown::ABOVE, 1}, {false, 14, Shown::ABOVE, 2},    {false, 15, Shown::ABOVE, 2},
    {false, 16, Shown::ABOVE, 3}, {false, 17, Shown::ABOVE, 3},    {false, 18, Shown::ABOVE, 4},
    {false, 19, Shown::ABOVE, 5}, {true, 2, Shown::ALWAYS, 0},     {false, 35, Shown::ALWAYS, 0},
};
constexpr RoomDraw ROOM_3[] = {
    {false, 20, Shown::ALWAYS, 0}, {false, 21, Shown::ABOVE, 0}, {false, 22, Shown::ABOVE, 0},
    {false, 25, Shown::ABOVE, 1},  {false, 23, Shown::ABOVE, 2}, {false, 24, Shown::ABOVE, 2},
    {false, 26, Shown::ABOVE, 3},  {false, 27, Shown::ABOVE, 3}, {false, 28, Shown::ABOVE, 4},
    {false, 29, Shown::ABOVE, 5},
};

}  // namespace

void CLocation::Build() {
    for (std::size_t i = 0; i < m_waves.size(); ++i) {
        const WaveDesc& wave = WAVES[i];
        SheetClipDesc clip;
        clip.offsetX = wave.offsetX;
        clip.offsetY = wave.offsetY;
        clip.scaleX = wave.scaleX;
        clip.scaleY = 1.0f;
        clip.imageId = "SEA_WAVE";
        clip.cellRight = 100;
        clip.cellBottom = 90;
        clip.endColumn = 1;
        clip.endRow = 4;
        clip.columns = 2;
        clip.rows = 5;
        clip.rowStep = 1;
        clip.frameTime = 0.2f;
        m_waves[i].ClearClips();
        m_waves[i].AddClip(clip);
        m_waves[i].SetClipCrop(0, wave.cropLeft, wave.cropRight, wave.cropTop, wave.cropBottom);
        m_waves[i].Play(0, true, false, -1.0f);
    }
    m_pieces.clear();
    for (const PieceDesc& piece : PIECES) {
        m_pieces.emplace_back().Create(PictureDesc(piece.image, piece.left, piece.right, piece.top,
                                                   piece.bottom, piece.x, piece.y));
    }
}

void CLocation::Set(std::int32_t location, std::int32_t decorationLevel) {
    m_riseStep = decorationLevel > m_decoration ? decorationLevel - m_decoration : 0;
    m_location = location;
    m_decoration = decorationLevel;
    m_shownDecoration = decorationLevel;
    m_riseCounter = 0.0f;
}

void CLocation::Update(Vec2 /*screenScale*/, float elapsed) {
    // The old and the new decoration take turns, ever faster: the counter
    // runs one step per second below 2, two below 4, and so on.
    if (m_riseStep != 0) {
        const float step = std::floor(m_riseCounter * 0.5f + 1.0f);
        m_riseCounter += step * elapsed;
        const bool odd = static_cast<std::int64_t>(m_riseCounter) % 2 != 0;
        m_shownDecoration =
            std::clamp(odd ? m_decoration : m_decoration - m_riseStep, 0, MAX_DECORATION);
        if (m_riseCounter >= RISE_END) {
            m_shownDecoration = m_decoration;
            m_riseStep = 0;
            m_riseCounter = 0.0f;
        }
    }
    UpdateWaves(elapsed);
}

void CLocation::UpdateShop(Vec2 /*screenScale*/, float elapsed) {
    // The rise is kept for play; until then the shop shows what was there.
    if (m_riseStep != 0) {
        m_shownDecoration = m_decoration - m_riseStep;
    }
    UpdateWaves(elapsed);
}

void CLocation::UpdateWaves(float elapsed) {
    if (m_location == 1) {
        m_waves[0].Update(elapsed);
        m_waves[1].Update(elapsed);
    } else if (m_location == 2) {
        m_waves[2].Update(elapsed);
    }
}

HResult CLocation::Render(backend::IRenderDevice* device, Vec2 screenScale, bool bonus) {
    if (bonus) {
        DrawPiece(device, screenScale, BONUS_PIECE);
    } else if (m_location == 1) {
        RenderRoom(device, screenScale, ROOM_1);
    } else if (m_location == 2) {
        RenderRoom(device, screenScale, ROOM_2);
    } else if (m_location == 3) {
        RenderRoom(device, screenScale, ROOM_3);
    }
    return RESULT_OK;
}

void CLocation::DrawPiece(backend::IRenderDevice* device, Vec2 screenScale, std::int32_t piece) {
    // Before Build there is nothing to draw.
    if (piece < static_cast<std::int32_t>(m_pieces.size())) {
        m_pieces[static_cast<std::size_t>(piece)].Draw(device, screenScale, false, WHITE, true);
    }
}

void CLocation::RenderRoom(backend::IRenderDevice* device, Vec2 screenScale,
                           std::span<const RoomDraw> draws) {
    for (const RoomDraw& draw : draws) {
        if (!draw.Holds(m_shownDecoration)) {
            continue;
        }
        if (draw.wave) {
            m_waves[static_cast<std::size_t>(draw.index)].Draw(screenScale, WHITE);
        } else {
            DrawPiece(device, screenScale, draw.index);
        }
    }
}
