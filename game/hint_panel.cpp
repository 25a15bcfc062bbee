#include "game/hint_panel.h"

namespace {

struct Cell {
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
};

// Cells in "GUI", in the order of CHintPanel::Tile. The body's top and bottom
// rows are 42 pixels high, so that the text has room below the header.
constexpr Cell HEADER_CELLS[CHintPanel::TILES_PER_GRID] = {
    {110, 138, 325, 353}, {110, 138, 376, 404}, {84, 112, 351, 379},
    {136, 164, 351, 379}, {111, 139, 352, 380}, {84, 112, 325, 353},
    {136, 164, 325, 353}, {84, 112, 376, 404},  {136, 164, 376, 404},
};
constexpr Cell BODY_CELLS[CHintPanel::TILES_PER_GRID] = {
    {28, 56, 325, 367}, {28, 56, 391, 433}, {0, 28, 365, 393},
    {54, 82, 365, 393}, {28, 56, 365, 393}, {0, 28, 325, 367},
    {54, 82, 325, 367}, {0, 28, 391, 433},  {54, 82, 391, 433},
};

// The extra height of the body's first row.
constexpr float BODY_FIRST_ROW_EXTRA = 14.0f;

}  // namespace

void CHintPanel::Build(float panelX, float panelY, std::int32_t columns, std::int32_t rows) {
    headerColumns = columns;
    bodyColumns = columns;
    headerRows = HEADER_ROWS;
    bodyRows = rows;
    x = panelX;
    y = panelY;
    scaleX = 1.0f;
    scaleY = 1.0f;
    for (std::int32_t i = 0; i < TILES_PER_GRID; ++i) {
        for (const bool body : {false, true}) {
            const Cell& cell = body ? BODY_CELLS[i] : HEADER_CELLS[i];
            GuiImageDesc desc;
            desc.x = panelX;
            desc.y = panelY;
            desc.imageId = "GUI";
            desc.left = cell.left;
            desc.right = cell.right;
            desc.top = cell.top;
            desc.bottom = cell.bottom;
            tiles[static_cast<std::size_t>(body ? TILES_PER_GRID + i : i)].Create(desc);
        }
    }
}

void CHintPanel::Render(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour) {
    RenderGrid(device, screenScale, colour, 0, headerColumns, headerRows, false);
    RenderGrid(device, screenScale, colour, TILES_PER_GRID, bodyColumns, bodyRows, true);
}

void CHintPanel::RenderGrid(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour,
                            std::int32_t firstTile, std::int32_t columns, std::int32_t rows,
                            bool body) {
    const auto draw = [&](Tile tile, float offsetX, float offsetY) {
        CGuiImage& sprite = tiles[static_cast<std::size_t>(firstTile + tile)];
        sprite.offsetX = offsetX;
        sprite.offsetY = offsetY;
        sprite.Draw(device, screenScale, false, colour, false);
    };
    // A grid of one row draws both its top and bottom tiles in each cell, one
    // of one column both its left and right tiles.
    const auto drawRow = [&](float offsetY, Tile left, Tile between, Tile right) {
        for (std::int32_t j = 0; j < columns; ++j) {
            const float offsetX = TILE_SIZE * static_cast<float>(j);
            if (j == 0) {
                draw(left, offsetX, offsetY);
            }
            if (j == columns - 1) {
                draw(right, offsetX, offsetY);
            }
            if (j != 0 && j != columns - 1) {
                draw(between, offsetX, offsetY);
            }
        }
    };
    for (std::int32_t i = 0; i < rows; ++i) {
        float offsetY = TILE_SIZE * static_cast<float>(i);
        if (body) {
            offsetY += HEADER_ROWS * TILE_SIZE + (i > 0 ? BODY_FIRST_ROW_EXTRA : 0.0f);
        }
        if (i == 0) {
            drawRow(offsetY, TOP_LEFT, TOP, TOP_RIGHT);
        }
        if (i == rows - 1) {
            drawRow(offsetY, BOTTOM_LEFT, BOTTOM, BOTTOM_RIGHT);
        }
        if (i != 0 && i != rows - 1) {
            drawRow(offsetY, LEFT, CENTRE, RIGHT);
        }
    }
}
