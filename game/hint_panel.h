#pragma once
// The tiled panel of a hint window: a header band two tiles high over a body
// of the asked number of rows, both as wide as the asked number of columns,
// drawn from 28-pixel tiles of the GUI atlas.
#include <array>
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/platform/geometry.h"

class CHintPanel {
public:
    // The tiles of one grid, in the order they are kept.
    enum Tile : std::int32_t {
        TOP = 0,
        BOTTOM,
        LEFT,
        RIGHT,
        CENTRE,
        TOP_LEFT,
        TOP_RIGHT,
        BOTTOM_LEFT,
        BOTTOM_RIGHT,
        TILES_PER_GRID
    };
    static constexpr float TILE_SIZE = 28.0f;
    static constexpr std::int32_t HEADER_ROWS = 2;

    // The panel's top-left corner at (x, y), design units.
    void Build(float x, float y, std::int32_t columns, std::int32_t rows);
    void Render(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour);

    // The header grid's tiles, then the body grid's.
    std::array<CGuiImage, 2 * TILES_PER_GRID> tiles;
    std::int32_t headerColumns = 0;
    std::int32_t headerRows = 0;
    std::int32_t bodyColumns = 0;
    std::int32_t bodyRows = 0;
    float x = 0.0f;
    float y = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;

private:
    void RenderGrid(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour,
                    std::int32_t firstTile, std::int32_t columns, std::int32_t rows, bool body);
};
