#include "heroine/carry_sprites.h"

#include "shopfloor/item_codes.h"

namespace {

using Positions = std::array<std::array<int, 2>, CCarrySprites::DIRECTIONS>;

// How the views of an item are chosen and mirrored per facing direction.
enum class Views {
    Tray,        // four views, direction d shows view d mod 4, never mirrored
    Turned,      // five views; directions 5 to 7 show views 3 to 1 mirrored
    FirstHand,   // eight views, one per direction
    SecondHand,  // eight views, view (8 - d) mod 8, always mirrored
};

// The views of an item stacked top to bottom in one atlas column, cut into
// equal cells the way the data set paints them.
struct Column {
    const char* atlas;
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
    std::int32_t views;
};

struct Piece {
    std::uint32_t bit;
    int layer;
    Column column;
    Positions positions;
};

struct CareItem {
    std::uint32_t bit;
    Column column;
    Positions first;
    Positions second;
};

constexpr Column TRAY = {"INSTRUMENTS", 299, 378, 180, 368, 4};
constexpr Positions TRAY_POSITIONS = {
    {{1, 100}, {32, 92}, {48, 72}, {32, 56}, {1, 53}, {-32, 56}, {-49, 72}, {-34, 92}}};
// The tray's highlight, drawn over it while the set is hovered.
constexpr backend::Rect TRAY_HIGHLIGHT = {0, 452, 78, 500};

constexpr Positions GROUND_POSITIONS = {
    {{40, 113}, {74, 101}, {83, 74}, {56, 57}, {14, 55}, {8, 67}, {-3, 89}, {23, 110}}};

// In the order they are tested: a later bit of the same layer wins.
constexpr Piece PIECES[] = {
    {SAND, 1, {"INSTRUMENTS", 248, 276, 2, 107, 5}, GROUND_POSITIONS},
    {ROCK, 1, {"INSTRUMENTS", 276, 303, 0, 106, 5}, GROUND_POSITIONS},
    {STONE, 1, {"INSTRUMENTS", 219, 247, 2, 107, 5}, GROUND_POSITIONS},
    {GREEN_GRASS,
     2,
     {"INSTRUMENTS", 101, 136, 187, 437, 5},
     {{{13, 71}, {38, 74}, {54, 59}, {56, 44}, {33, 36}, {47, 33}, {25, 44}, {19, 62}}}},
    {BLUE_GRASS,
     2,
     {"INSTRUMENTS", 144, 189, 183, 448, 5},
     {{{2, 71}, {30, 72}, {56, 57}, {53, 40}, {33, 35}, {50, 30}, {21, 40}, {28, 59}}}},
    {RED_GRASS,
     2,
     {"INSTRUMENTS", 68, 100, 212, 437, 5},
     {{{3, 77}, {35, 79}, {60, 63}, {66, 48}, {47, 40}, {38, 39}, {19, 50}, {26, 69}}}},
    {CASTLE,
     3,
     {"INSTRUMENTS", 189, 228, 139, 349, 5},
     {{{29, 83}, {55, 73}, {56, 56}, {39, 46}, {12, 47}, {29, 54}, {24, 68}, {41, 81}}}},
    {CHEST,
     3,
     {"INSTRUMENTS", 229, 264, 140, 345, 5},
     {{{35, 86}, {59, 75}, {63, 56}, {37, 48}, {15, 52}, {25, 56}, {17, 71}, {36, 84}}}},
    {SEA_SHELL,
     3,
     {"INSTRUMENTS", 263, 299, 144, 334, 5},
     {{{34, 85}, {61, 78}, {61, 60}, {36, 50}, {12, 54}, {25, 63}, {22, 78}, {41, 88}}}},
    {RED_CORAL,
     4,
     {"INSTRUMENTS", 345, 381, 7, 177, 5},
     {{{8, 109}, {51, 105}, {81, 83}, {73, 56}, {36, 45}, {31, 44}, {0, 61}, {9, 92}}}},
    {BLUE_CORAL,
     4,
     {"INSTRUMENTS", 303, 345, 0, 179, 5},
     {{{5, 105}, {50, 102}, {77, 78}, {68, 56}, {35, 45}, {33, 44}, {1, 61}, {9, 90}}}},
    {YELLOW_CORAL,
     4,
     {"INSTRUMENTS", 381, 416, 7, 177, 5},
     {{{6, 109}, {51, 105}, {81, 81}, {73, 56}, {36, 45}, {28, 46}, {-1, 61}, {9, 92}}}},
};

// Ascending bits: the highest care bit of a mask shows.
constexpr CareItem CARE_ITEMS[] = {
    {ITEM_FOOD_1,
     {"INSTRUMENTS", 124, 154, 3, 183, 5},
     {{{4, 90}, {37, 91}, {56, 80}, {63, 66}, {43, 61}, {48, 51}, {22, 58}, {12, 74}}},
     {{{42, 90}, {65, 76}, {57, 58}, {38, 55}, {10, 61}, {21, 66}, {22, 80}, {39, 91}}}},
    {ITEM_FOOD_2,
     {"INSTRUMENTS", 154, 182, 4, 154, 5},
     {{{7, 96}, {38, 94}, {59, 86}, {66, 71}, {44, 62}, {43, 54}, {20, 64}, {9, 79}}},
     {{{44, 96}, {67, 80}, {59, 65}, {41, 59}, {12, 62}, {17, 71}, {20, 86}, {38, 95}}}},
    {ITEM_FOOD_3,
     {"INSTRUMENTS", 47, 85, 2, 207, 5},
     {{{2, 85}, {34, 83}, {56, 73}, {62, 59}, {40, 48}, {46, 49}, {21, 51}, {16, 68}}},
     {{{41, 85}, {58, 69}, {56, 52}, {35, 49}, {6, 49}, {21, 59}, {21, 73}, {44, 83}}}},
    {ITEM_FOOD_4,
     {"INSTRUMENTS", 182, 219, 3, 138, 5},
     {{{3, 97}, {34, 97}, {59, 87}, {64, 72}, {41, 65}, {44, 59}, {19, 65}, {15, 81}}},
     {{{40, 97}, {62, 82}, {59, 65}, {35, 61}, {4, 64}, {20, 72}, {19, 87}, {42, 97}}}},
    {ITEM_VITAMIN_GROWTH,
     {"TIME_BAR", 153, 187, 0, 224, 8},
     {{{4, 102}, {37, 102}, {56, 91}, {63, 77}, {41, 66}, {11, 61}, {-16, 69}, {-20, 88}}},
     {{{75, 102}, {97, 88}, {95, 70}, {66, 62}, {40, 66}, {20, 77}, {22, 93}, {41, 103}}}},
    {ITEM_VITAMIN_COST,
     {"TIME_BAR", 119, 153, 0, 224, 8},
     {{{2, 102}, {35, 102}, {54, 91}, {61, 77}, {39, 66}, {9, 61}, {-18, 69}, {-22, 88}}},
     {{{77, 102}, {99, 88}, {97, 70}, {68, 62}, {42, 66}, {22, 77}, {24, 93}, {43, 103}}}},
    {ITEM_MEDICINE_2,
     {"INSTRUMENTS", 33, 67, 228, 452, 8},
     {{{4, 102}, {37, 102}, {56, 93}, {63, 77}, {41, 66}, {11, 61}, {-16, 69}, {-20, 88}}},
     {{{75, 102}, {97, 88}, {95, 70}, {66, 62}, {40, 66}, {20, 77}, {22, 93}, {41, 103}}}},
    {ITEM_MEDICINE_1,
     {"INSTRUMENTS", 0, 33, 229, 452, 8},
     {{{3, 103}, {36, 102}, {55, 93}, {62, 77}, {40, 66}, {10, 61}, {-17, 69}, {-21, 89}}},
     {{{76, 103}, {98, 89}, {96, 70}, {67, 62}, {41, 66}, {21, 77}, {23, 93}, {42, 103}}}},
    {ITEM_BRUSH_1,
     {"BRUSH", 0, 46, 0, 462, 8},
     {{{7, 77}, {36, 73}, {55, 60}, {62, 43}, {50, 35}, {2, 33}, {-15, 48}, {-19, 66}}},
     {{{73, 77}, {97, 66}, {95, 47}, {80, 39}, {33, 35}, {23, 46}, {24, 60}, {42, 73}}}},
    {ITEM_BRUSH_2,
     {"BRUSH", 47, 99, 0, 414, 8},
     {{{8, 78}, {35, 82}, {58, 75}, {51, 60}, {38, 51}, {9, 38}, {-24, 49}, {-16, 65}}},
     {{{73, 78}, {94, 65}, {104, 49}, {79, 39}, {44, 51}, {32, 60}, {21, 75}, {43, 82}}}},
};

// Back to front, per facing direction.
constexpr int LAYER_ORDER[CCarrySprites::DIRECTIONS][CCarrySprites::LAYERS] = {
    {0, 2, 3, 1, 4}, {0, 3, 2, 1, 4}, {0, 3, 1, 2, 4}, {0, 1, 4, 3, 2},
    {0, 1, 4, 2, 3}, {0, 4, 1, 2, 3}, {0, 2, 4, 1, 3}, {0, 2, 3, 4, 1},
};

struct View {
    int index;
    bool mirrored;
};

View ViewFor(Views views, int direction) {
    switch (views) {
        case Views::Tray:
            return {direction % 4, false};
        case Views::Turned:
            return direction <= 4 ? View{direction, false} : View{8 - direction, true};
        case Views::FirstHand:
            return {direction, false};
        case Views::SecondHand:
            return {(8 - direction) % 8, true};
    }
    return {direction, false};
}

// One view of a column at its position relative to the set.
GuiImageDesc ViewDesc(const Column& column, View view, std::array<int, 2> position) {
    const std::int32_t span = column.bottom - column.top;
    GuiImageDesc desc;
    desc.x = static_cast<float>(position[0]);
    desc.y = static_cast<float>(position[1]);
    desc.scaleX = view.mirrored ? -1.0f : 1.0f;
    desc.imageId = column.atlas;
    desc.left = column.left;
    desc.right = column.right;
    desc.top = column.top + view.index * span / column.views;
    desc.bottom = column.top + (view.index + 1) * span / column.views;
    return desc;
}

void Fill(CGuiImage& sprite, const Column& column, View view, std::array<int, 2> position) {
    sprite.Create(ViewDesc(column, view, position));
}

}  // namespace

void CCarrySprites::Clear() {
    for (CGuiImage& sprite : m_sprites) {
        sprite.Reset();
    }
}

void CCarrySprites::SetPosition(float x, float y) {
    for (CGuiImage& sprite : m_sprites) {
        sprite.offsetX = x;
        sprite.offsetY = y;
    }
}

void CCarrySprites::BuildInteriorSet(float x, float y, std::uint32_t mask) {
    Clear();
    for (int d = 1; d < DIRECTIONS; ++d) {
        Fill(m_sprites[static_cast<std::size_t>(d)], TRAY, ViewFor(Views::Tray, d),
             TRAY_POSITIONS[static_cast<std::size_t>(d)]);
    }
    // The tray facing down is the one the machine shows, and its highlight
    // is the set's hit area.
    GuiImageDesc desc = ViewDesc(TRAY, ViewFor(Views::Tray, 0), TRAY_POSITIONS[0]);
    desc.hoverImageId = TRAY.atlas;
    desc.hoverX = desc.x;
    desc.hoverY = desc.y;
    desc.hoverLeft = TRAY_HIGHLIGHT.left;
    desc.hoverRight = TRAY_HIGHLIGHT.right;
    desc.hoverTop = TRAY_HIGHLIGHT.top;
    desc.hoverBottom = TRAY_HIGHLIGHT.bottom;
    m_sprites[0].Create(desc);
    for (const Piece& piece : PIECES) {
        if ((mask & piece.bit) == 0) {
            continue;
        }
        for (int d = 0; d < DIRECTIONS; ++d) {
            Fill(m_sprites[static_cast<std::size_t>(piece.layer * DIRECTIONS + d)], piece.column,
                 ViewFor(Views::Turned, d), piece.positions[static_cast<std::size_t>(d)]);
        }
    }
    SetPosition(x, y);
}

void CCarrySprites::BuildCareItem(float x, float y, std::uint32_t mask, Hand hand) {
    Clear();
    for (const CareItem& item : CARE_ITEMS) {
        if ((mask & item.bit) == 0) {
            continue;
        }
        // Foods turn like the interior pieces in either hand; the tools have a
        // view per direction, mirrored in the second hand.
        const Views views = (item.bit & MASK_FOOD) != 0 ? Views::Turned
                            : hand == Hand::First       ? Views::FirstHand
                                                        : Views::SecondHand;
        const Positions& positions = hand == Hand::First ? item.first : item.second;
        for (int d = 0; d < DIRECTIONS; ++d) {
            Fill(m_sprites[static_cast<std::size_t>(d)], item.column, ViewFor(views, d),
                 positions[static_cast<std::size_t>(d)]);
        }
    }
    SetPosition(x, y);
}

void CCarrySprites::BuildCareItemFirstHand(float x, float y, std::uint32_t mask) {
    BuildCareItem(x, y, mask, Hand::First);
}

void CCarrySprites::BuildCareItemSecondHand(float x, float y, std::uint32_t mask) {
    BuildCareItem(x, y, mask, Hand::Second);
}

void CCarrySprites::UpdateHover(const InputState& input, Vec2 screenScale) {
    m_sprites[0].UpdateHover(input, screenScale);
}

int CCarrySprites::DirectionOf(std::uint32_t directionOrState) {
    switch (directionOrState) {
        case 0:
        case 0x10:
        case 0x100:
        case 0x1080:
            return 0;
        case 1:
        case 0x900:
            return 1;
        case 2:
        case 0x800:
            return 2;
        case 3:
        case 0xA00:
            return 3;
        case 4:
        case 0x200:
        case 0x2080:
            return 4;
        case 5:
        case 0x600:
            return 5;
        case 6:
        case 0x400:
            return 6;
        case 7:
        case 0x500:
            return 7;
        default:
            return -1;
    }
}

void CCarrySprites::Render(backend::IRenderDevice* device, Vec2 screenScale,
                           std::uint32_t directionOrState, std::uint32_t colour) {
    const int direction = DirectionOf(directionOrState);
    if (direction < 0) {
        return;
    }
    for (int layer : LAYER_ORDER[direction]) {
        m_sprites[static_cast<std::size_t>(layer * DIRECTIONS + direction)].Draw(
            device, screenScale, true, colour, true);
    }
}
