// What an aquarium looks like: its pictures and animations by look and
// compressor style, the interior's pictures with their random variants and
// places, and the draw passes.
#include <algorithm>
#include <array>

#include "engine/backend/clock.h"
#include "engine/platform/random_float.h"
#include "shopfloor/aquarium.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/picture_desc.h"

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t HALF_SHOWN = 0x88FFFFFF;
constexpr std::uint32_t VOLUME_LIGHT_COLOUR = 0x99FFFFFF;
constexpr std::uint8_t BACK_ROW_ALPHA = 179;
constexpr std::uint8_t MIDDLE_ROW_ALPHA = 204;
constexpr float ENDLESS = -1.0f;

struct Rect4 {
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
};

struct Placed {
    float dx;
    float dy;
    Rect4 source;
};

struct Margins {
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
};

struct Look {
    const char* bodyImage;
    const char* glowImage;
    Rect4 body;
    Placed glow;
    Placed dirt1;
    Placed dirt2;
    Placed lampLight;
    Placed lampSwitch;
    Margins lampSwitchMargins;
    Vec2 lampGlow;
    std::array<Vec2, 3> marks;
    float volumeLightY;
};

constexpr std::array<Look, 4> LOOKS = {{
    {"AQUARIUM_1",
     "LOCATION_1_GLOW",
     {0, 242, 0, 158},
     {0, 0, {5, 247, 12, 173}},
     {9, 20, {0, 224, 260, 380}},
     {9, 36, {0, 222, 391, 507}},
     {5, 9, {0, 231, 155, 260}},
     {63, 9, {0, 160, 292, 314}},
     {10, 0, 0, 0},
     {88, -11},
     {{{72, -9}, {72, -10}, {72, -1}}},
     71},
    {"AQUARIUM_2",
     "LOCATION_2_GLOW",
     {0, 242, 0, 158},
     {-6, -3, {1, 255, 1, 167}},
     {4, 22, {0, 235, 260, 381}},
     {4, 26, {0, 235, 382, 499}},
     {4, 7, {0, 231, 157, 263}},
     {63, 2, {0, 170, 272, 311}},
     {10, -8, 2, -5},
     {90, -8},
     {{{72, -9}, {72, -10}, {72, -1}}},
     72},
    {"AQUARIUM_3",
     "LOCATION_3_GLOW",
     {0, 242, 0, 158},
     {-6, -8, {1, 255, 1, 172}},
     {6, 13, {0, 228, 261, 389}},
     {6, 27, {0, 227, 390, 505}},
     {4, 9, {0, 231, 157, 263}},
     {60, -3, {0, 172, 362, 399}},
     {12, -8, 2, -5},
     {90, -11},
     {{{72, -7}, {72, -8}, {72, 1}}},
     74},
    {"AQUARIUM_ADD",
     "GLOW",
     {0, 240, 0, 156},
     {-6, -5, {1, 255, 1, 166}},
     {8, 13, {0, 228, 261, 389}},
     {9, 27, {0, 227, 390, 505}},
     {4, 6, {0, 231, 154, 260}},
     {48, 6, {0, 180, 166, 194}},
     {8, -8, 0, 0},
     {90, -12},
     {{{64, -10}, {64, -10}, {64, -1}}},
     71},
}};

constexpr std::array<Rect4, 3> MARK_SOURCES = {{
    {351, 496, 71, 142},
    {348, 494, 140, 211},
    {330, 494, 213, 275},
}};

struct CompressorSwitch {
    bool picture;
    Placed switchPicture;
    Placed glow;
    Margins margins;
};

// By look, then by compressor style.
constexpr std::array<std::array<CompressorSwitch, 3>, 4> COMPRESSOR_SWITCHES = {{
    {{
        {true, {15, 7, {421, 480, 3, 51}}, {15, 7, {180, 240, 183, 231}}, {0, -4, 0, 0}},
        {true, {21, 7, {419, 466, 99, 146}}, {21, 5, {117, 165, 183, 233}}, {0, 0, 0, 0}},
        {true, {15, 8, {420, 474, 51, 99}}, {16, 5, {178, 233, 252, 301}}, {0, 0, 0, 0}},
    }},
    {{
        {true, {15, 9, {420, 475, 147, 193}}, {6, 1, {105, 177, 168, 221}}, {0, -7, 2, 0}},
        {true, {15, 8, {420, 479, 192, 238}}, {6, 1, {177, 252, 167, 219}}, {0, -8, 2, 0}},
        {true, {14, 3, {420, 476, 238, 289}}, {8, -6, {177, 248, 229, 285}}, {0, -7, 2, 0}},
    }},
    {{
        {true, {14, 9, {420, 481, 287, 334}}, {7, 3, {128, 200, 300, 351}}, {5, -9, 5, 0}},
        {true, {14, 3, {420, 477, 333, 385}}, {9, -7, {128, 197, 245, 301}}, {5, -8, 5, 0}},
        {true, {9, 9, {420, 479, 385, 432}}, {3, 0, {128, 201, 171, 225}}, {5, -7, 5, 0}},
    }},
    {{
        {false, {0, 0, {0, 0, 0, 0}}, {12, 4, {401, 451, 0, 50}}, {5, -8, 5, -3}},
        {false, {0, 0, {0, 0, 0, 0}}, {12, 4, {401, 451, 0, 50}}, {5, -8, 5, -3}},
        {false, {0, 0, {0, 0, 0, 0}}, {12, 4, {401, 451, 0, 50}}, {5, -8, 5, -3}},
    }},
}};

// The interior pictures on AQUARIUM_INTERIORS.
struct InteriorPicture {
    Rect4 source;
    float y;
    float xShift;
};

constexpr std::array<std::uint32_t, 3> GROUND_BITS = {0x4, 0x1, 0x2};  // sand, stone, rock
constexpr std::array<std::array<Rect4, 2>, 3> GROUNDS = {{
    {{{286, 512, 0, 73}, {285, 512, 72, 147}}},
    {{{285, 512, 145, 219}, {285, 512, 216, 290}}},
    {{{285, 512, 287, 360}, {285, 512, 359, 432}}},
}};

struct House {
    float y;
    std::array<float, 2> x;
    std::array<Rect4, 2> source;
};

constexpr std::array<std::uint32_t, 3> HOUSE_BITS = {0x40, 0x80, 0x100};  // castle, chest, shell
constexpr std::array<House, 3> HOUSES = {{
    {82, {120, 85}, {{{0, 44, 290, 332}, {0, 44, 245, 289}}}},
    {87, {90, 120}, {{{0, 36, 334, 374}, {37, 75, 333, 374}}}},
    {91, {120, 95}, {{{192, 228, 258, 292}, {192, 228, 224, 258}}}},
}};

constexpr std::array<std::uint32_t, 3> ALGAE_BITS = {0x8, 0x10, 0x20};  // green, blue, red
constexpr std::array<std::array<InteriorPicture, 4>, 3> ALGAE = {{
    {{{{204, 246, 140, 190}, 77, 0},
      {{246, 286, 140, 186}, 79, 0},
      {{160, 228, 190, 224}, 86, -12},
      {{160, 228, 190, 224}, 86, -12}}},
    {{{{46, 86, 154, 194}, 80, 0},
      {{86, 120, 154, 189}, 85, 0},
      {{120, 159, 141, 187}, 80, 0},
      {{159, 203, 143, 187}, 80, 0}}},
    {{{{0, 42, 195, 246}, 76, 0},
      {{43, 83, 194, 234}, 80, 0},
      {{83, 115, 194, 235}, 80, 0},
      {{0, 45, 154, 194}, 80, 0}}},
}};

constexpr std::array<std::uint32_t, 3> CORAL_BITS = {0x200, 0x400, 0x800};  // red, blue, yellow
constexpr std::array<std::array<InteriorPicture, 6>, 3> CORALS = {{
    {{{{220, 274, 29, 69}, 85, 0},
      {{0, 59, 54, 104}, 75, 0},
      {{60, 110, 54, 106}, 75, 0},
      {{110, 158, 54, 99}, 75, 0},
      {{159, 220, 54, 99}, 75, 0},
      {{220, 266, 69, 104}, 85, 0}}},
    {{{{0, 53, 3, 54}, 77, 0},
      {{92, 127, 0, 53}, 77, 0},
      {{128, 176, 4, 54}, 77, 0},
      {{0, 53, 3, 54}, 77, 0},
      {{92, 127, 0, 53}, 77, 0},
      {{128, 176, 4, 54}, 77, 0}}},
    {{{{0, 55, 104, 154}, 78, 0},
      {{56, 113, 111, 154}, 78, 0},
      {{113, 152, 99, 141}, 78, 0},
      {{152, 188, 99, 136}, 80, 0},
      {{188, 222, 104, 137}, 80, 0},
      {{222, 271, 104, 140}, 85, 0}}},
}};

struct Range {
    float min;
    float max;
};

// Algae x ranges by row and place; rows 0 and 2 by the house's side.
constexpr std::array<Range, 2> ROW0_HOUSE_LEFT = {{{27, 37}, {120, 150}}};
constexpr std::array<Range, 2> ROW0_HOUSE_RIGHT = {{{57, 77}, {150, 170}}};
constexpr std::array<Range, 2> ROW1 = {{{27, 47}, {150, 170}}};
constexpr std::array<Range, 2> ROW2_HOUSE_LEFT = {{{37, 57}, {110, 160}}};
constexpr std::array<Range, 2> ROW2_HOUSE_RIGHT = {{{37, 87}, {140, 160}}};
constexpr std::array<Range, 2> CORAL_ROW2_HOUSE_LEFT = {{{40, 60}, {110, 130}}};
constexpr std::array<Range, 2> CORAL_ROW2_HOUSE_RIGHT = {{{60, 70}, {140, 150}}};

constexpr const char* INTERIORS = "AQUARIUM_INTERIORS";

std::uint32_t Opacity(float alpha) {
    return (static_cast<std::uint32_t>(std::clamp(alpha, 0.0f, 255.0f)) << 24) | 0xFFFFFF;
}

CGuiImage Picture(const char* image, const Rect4& source, float x, float y) {
    CGuiImage picture;
    picture.Create(PictureDesc(image, source.left, source.right, source.top, source.bottom, x, y));
    return picture;
}

// A picture that shows only while marked: its glow from the look's glow image.
CGuiImage GlowOnly(const char* glowImage, const Placed& glow, const Margins& margins, float x,
                   float y) {
    GuiImageDesc desc;
    desc.x = x;
    desc.y = y;
    desc.hoverImageId = glowImage;
    desc.hoverX = x + glow.dx;
    desc.hoverY = y + glow.dy;
    desc.hoverLeft = glow.source.left;
    desc.hoverRight = glow.source.right;
    desc.hoverTop = glow.source.top;
    desc.hoverBottom = glow.source.bottom;
    desc.marginLeft = margins.left;
    desc.marginRight = margins.right;
    desc.marginTop = margins.top;
    desc.marginBottom = margins.bottom;
    CGuiImage picture;
    picture.Create(desc);
    return picture;
}

SheetClipDesc Clip(const char* image, float x, float y, std::int32_t cellWidth,
                   std::int32_t cellHeight, std::int32_t originX, std::int32_t columns,
                   std::int32_t rows, std::int32_t endColumn, std::int32_t endRow,
                   float frameTime) {
    SheetClipDesc clip;
    clip.offsetX = x;
    clip.offsetY = y;
    clip.imageId = image;
    clip.cellRight = cellWidth;
    clip.cellBottom = cellHeight;
    clip.originX = originX;
    clip.columns = columns;
    clip.rows = rows;
    clip.endColumn = endColumn;
    clip.endRow = endRow;
    clip.rowStep = 1;
    clip.frameTime = frameTime;
    return clip;
}

// The draws of one interior place are reseeded from the clock and the place.
void SeedForPlace(std::size_t row, std::size_t place, bool xDraw) {
    const auto ms = static_cast<std::uint32_t>(backend::Clock().Milliseconds());
    const auto r = static_cast<std::uint32_t>(row);
    const auto p = static_cast<std::uint32_t>(place);
    SeedRandom(xDraw ? ms * ms * ms * (r + 8) * (p + 11) * (r + p)
                     : ms * ms * (r + 3) * (p + 3) * (r + p));
}

float DrawIn(const Range& range) {
    return range.min + static_cast<float>(NextRandom()) / 32767.0f * (range.max - range.min);
}

}  // namespace

void CAquarium::Build(std::int32_t look, std::int32_t level, std::int32_t compressorStyle,
                      std::uint32_t interior, float x, float y, float scaleX, float scaleY,
                      bool hidden) {
    look = std::clamp(look, 0, 3);
    compressorStyle = std::clamp(compressorStyle, 0, 2);
    const Look& art = LOOKS[static_cast<std::size_t>(look)];
    m_look = look;
    m_level = level;
    m_hidden = hidden;
    m_growthBarWidth = GROWTH_BAR_WIDTH;
    m_disabled.fill(false);

    m_shadow = Picture("AQUARIUM_SHADOW", {0, 223, 0, 92}, x + 8, y + 140);
    m_growthBar = Picture("GUI", {252, 360, 446, 457}, x + 118, y + 59);
    GuiImageDesc sell = PictureDesc("ICONS", 0, 89, 339, 406, x + 81, y - 63);
    sell.hoverImageId = "ICONS";
    sell.hoverX = sell.x;
    sell.hoverY = sell.y;
    sell.hoverLeft = 0;
    sell.hoverRight = 89;
    sell.hoverTop = 272;
    sell.hoverBottom = 339;
    m_sellButton.Create(sell);
    m_sellButton.additiveHover = false;
    m_buyIcon = Picture("ICONS", {319, 420, 145, 204}, x + 200, y - 28);
    m_upgradeIcon = Picture("ICONS", {383, 491, 262, 323}, x + 200, y - 30);

    m_bubblesAnimation.ClearClips();
    m_bubblesAnimation.AddClip(
        Clip("AQUARIUM_ANIMATION", x + 35, y + 75, 16, 64, 244, 4, 8, 3, 7, 0.05f));
    m_bubblesAnimation.RewindToEnd();
    m_compressorAnimation.ClearClips();
    m_compressorAnimation.AddClip(
        Clip("WORK_CLOUD", x + 27, y + 73, 28, 62, 304, 2, 16, 1, 15, 0.075f));
    m_compressorAnimation.AddClip(
        Clip("WORK_CLOUD", x + 27, y + 73, 28, 62, 360, 1, 10, 0, 9, 0.075f));
    m_compressorAnimation.AddClip(
        Clip("WORK_CLOUD", x + 27, y + 73, 28, 62, 388, 1, 10, 0, 9, 0.075f));
    m_causticAnimation.ClearClips();
    m_causticAnimation.AddClip(Clip("CAUSTIC", x + 26, y + 85, 190, 54, 0, 2, 18, 1, 13, 0.06f));
    m_causticAnimation.Play(0, true, false, ENDLESS);

    // The interior is placed relative to the body, which must stand first.
    m_body.x = x;
    m_body.y = y;
    SetInterior(interior);

    GuiImageDesc body = PictureDesc(art.bodyImage, art.body.left, art.body.right, art.body.top,
                                    art.body.bottom, x, y);
    body.scaleX = scaleX;
    body.scaleY = scaleY;
    body.hoverImageId = art.glowImage;
    body.hoverX = x + art.glow.dx;
    body.hoverY = y + art.glow.dy;
    body.hoverLeft = art.glow.source.left;
    body.hoverRight = art.glow.source.right;
    body.hoverTop = art.glow.source.top;
    body.hoverBottom = art.glow.source.bottom;
    body.marginLeft = 5;
    body.marginRight = -5;
    body.marginTop = 8;
    body.marginBottom = -7;
    m_body.Create(body);

    m_dirt1 = Picture(art.bodyImage, art.dirt1.source, x + art.dirt1.dx, y + art.dirt1.dy);
    m_dirt2 = Picture(art.bodyImage, art.dirt2.source, x + art.dirt2.dx, y + art.dirt2.dy);
    m_lampLight =
        Picture(art.bodyImage, art.lampLight.source, x + art.lampLight.dx, y + art.lampLight.dy);
    m_lampSwitch = GlowOnly(art.glowImage, art.lampSwitch, art.lampSwitchMargins, x, y);
    m_lampGlow = GlowOnly("LIGHT_ADD", {art.lampGlow.x, art.lampGlow.y, {0, 128, 0, 64}}, {}, x, y);

    const CompressorSwitch& compressor =
        COMPRESSOR_SWITCHES[static_cast<std::size_t>(look)]
                           [static_cast<std::size_t>(compressorStyle)];
    m_compressorSwitch = GlowOnly(art.glowImage, compressor.glow, compressor.margins, x, y);
    if (compressor.picture) {
        const Placed& picture = compressor.switchPicture;
        CGuiImage switchPicture =
            Picture("INSTRUMENTS", picture.source, x + picture.dx, y + picture.dy);
        m_compressorSwitch.image = switchPicture.image;
        m_compressorSwitch.source = switchPicture.source;
        m_compressorSwitch.x = switchPicture.x;
        m_compressorSwitch.y = switchPicture.y;
    }
    for (std::size_t i = 0; i < m_levelMarks.size(); ++i) {
        m_levelMarks[i] = Picture("GUI", MARK_SOURCES[i], x + art.marks[i].x, y + art.marks[i].y);
    }
    m_volumeLight.ClearClips();
    m_volumeLight.AddClip(
        Clip("VOLUME_LIGHT", x + 20, y + art.volumeLightY, 200, 64, 0, 2, 16, 1, 15, 0.12f));
    m_volumeLight.Play(0, true, false, ENDLESS);

    shape = CPlacedRect(x - 20.0f, y + 90.0f, 0, 280, 0, 100);
    stationPoint = {x + static_cast<float>(art.body.right - art.body.left) / 2.0f, y + 90.0f};
    bodyTagPoint = {x + 100.0f, y + 35.0f};
    lampTagPoint = {x + 125.0f, y - 10.0f};
    compressorTagPoint = {x + 22.0f, y + 3.0f};
}

void CAquarium::SetInterior(std::uint32_t bits) {
    m_interior = bits;
    m_ground.Reset();
    m_house.Reset();
    for (CGuiImage& place : m_algae) {
        place.Reset();
    }
    for (CGuiImage& place : m_corals) {
        place.Reset();
    }
    if (bits == 0) {
        return;
    }
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    const auto groundVariant = static_cast<std::size_t>(NextRandom() % 2);
    for (std::size_t i = 0; i < GROUND_BITS.size(); ++i) {
        if ((bits & GROUND_BITS[i]) != 0) {
            m_ground = Picture(INTERIORS, GROUNDS[i][groundVariant], 8, 71);
        }
    }
    const auto houseVariant = static_cast<std::size_t>(NextRandom() % 2);
    for (std::size_t i = 0; i < HOUSE_BITS.size(); ++i) {
        if ((bits & HOUSE_BITS[i]) != 0) {
            const House& house = HOUSES[i];
            m_house =
                Picture(INTERIORS, house.source[houseVariant], house.x[houseVariant], house.y);
        }
    }
    const bool houseLeft = m_house.x < 100.0f;
    PlaceAlgae(bits, houseLeft, (bits & MASK_CORAL) != 0);
    if ((bits & MASK_CORAL) != 0) {
        PlaceCorals(bits, houseLeft);
    }
    const Vec2 position = GetPosition();
    for (CGuiImage* picture : {&m_ground, &m_house}) {
        picture->x += position.x;
        picture->y += position.y;
    }
    for (std::size_t i = 0; i < m_algae.size(); ++i) {
        for (CGuiImage* picture : {&m_algae[i], &m_corals[i]}) {
            picture->x += position.x;
            picture->y += position.y;
        }
    }
}

void CAquarium::PlaceAlgae(std::uint32_t bits, bool houseLeft, bool coral) {
    const std::array<std::size_t, 3> counts = {coral ? 2u : 1u, 2u, 2u};
    const std::array<float, 3> startOffsets = {5.0f, -5.0f, -12.0f};
    const std::array<float, 3> offsetSteps = {2.0f, 3.0f, 3.0f};
    const std::array<const std::array<Range, 2>*, 3> ranges = {
        houseLeft ? &ROW0_HOUSE_LEFT : &ROW0_HOUSE_RIGHT, &ROW1,
        houseLeft ? &ROW2_HOUSE_LEFT : &ROW2_HOUSE_RIGHT};
    for (std::size_t row = 0; row < 3; ++row) {
        float offset = startOffsets[row];
        for (std::size_t place = 0; place < counts[row]; ++place) {
            offset += offsetSteps[row];
            SeedForPlace(row, place, false);
            const auto variant = static_cast<std::size_t>(NextRandom() % 4);
            SeedForPlace(row, place, true);
            float x = DrawIn((*ranges[row])[place]);
            if (row == 1) {
                x = std::clamp(x < 100.0f ? x - 20.0f : x + 20.0f, 27.0f, 170.0f);
            }
            // The place keeps its own x for a coral that takes it over.
            m_algaePlaceX[row * 3 + place] = x;
            for (std::size_t i = 0; i < ALGAE_BITS.size(); ++i) {
                if ((bits & ALGAE_BITS[i]) != 0) {
                    const InteriorPicture& picture = ALGAE[i][variant];
                    m_algae[row * 3 + place] =
                        Picture(INTERIORS, picture.source, x + picture.xShift, picture.y + offset);
                }
            }
        }
    }
}

void CAquarium::PlaceCorals(std::uint32_t bits, bool houseLeft) {
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    const std::array<std::size_t, 3> counts = {0u, 1u,
                                               1u + static_cast<std::size_t>(NextRandom() % 2)};
    const std::array<float, 3> startOffsets = {0.0f, -4.0f, -6.0f};
    for (std::size_t row = 1; row < 3; ++row) {
        float offset = startOffsets[row];
        for (std::size_t place = 0; place < counts[row]; ++place) {
            offset += 1.0f;
            SeedForPlace(row, place, false);
            const auto variant = static_cast<std::size_t>(NextRandom() % 6);
            float x = 0.0f;
            if (row == 1) {
                const std::size_t taken = houseLeft ? 4 : 3;
                x = m_algaePlaceX[taken] + (houseLeft ? -10.0f : 10.0f);
                m_algae[taken].Reset();
            } else {
                SeedForPlace(row, place, true);
                x = DrawIn((houseLeft ? CORAL_ROW2_HOUSE_LEFT : CORAL_ROW2_HOUSE_RIGHT)[place]);
                m_algae[6].Reset();
                m_algae[7].Reset();
            }
            for (std::size_t i = 0; i < CORAL_BITS.size(); ++i) {
                if ((bits & CORAL_BITS[i]) != 0) {
                    const InteriorPicture& picture = CORALS[i][variant];
                    m_corals[row * 3 + place] =
                        Picture(INTERIORS, picture.source, x, picture.y + offset);
                }
            }
        }
    }
}

std::uint32_t CAquarium::BodyColour() const {
    return m_highlighted[PART_BODY] ? Opacity(m_pulse.value) : WHITE;
}

void CAquarium::DrawLevelMark(backend::IRenderDevice* device, Vec2 screenScale,
                              std::int32_t level) {
    if (level >= 2 && level <= MAX_LEVEL) {
        m_levelMarks[static_cast<std::size_t>(level - 2)].Draw(device, screenScale, true, WHITE,
                                                               true);
    }
}

void CAquarium::RenderBody(backend::IRenderDevice* device, Vec2 screenScale) {
    if (m_level <= 0) {
        return;
    }
    const std::uint32_t body = BodyColour();
    const std::uint32_t compressor =
        m_highlighted[PART_COMPRESSOR] ? Opacity(m_pulse.value) : WHITE;
    const std::uint32_t interior = Opacity(m_interiorAlpha);
    const std::uint32_t back = Opacity(std::min(m_interiorAlpha, float{BACK_ROW_ALPHA}));
    const std::uint32_t middle = Opacity(std::min(m_interiorAlpha, float{MIDDLE_ROW_ALPHA}));
    const auto draw = [&](CGuiImage& picture, std::uint32_t colour) {
        picture.Draw(device, screenScale, true, colour, true);
    };

    draw(m_shadow, WHITE);
    draw(m_body, body);
    draw(m_ground, interior);
    for (std::size_t place = 0; place < 3; ++place) {
        draw(m_algae[6 + place], back);
        draw(m_corals[6 + place], back);
    }
    draw(m_house, interior);
    for (std::size_t place = 0; place < 3; ++place) {
        draw(m_algae[3 + place], middle);
        draw(m_corals[3 + place], middle);
        draw(m_algae[place], interior);
        draw(m_corals[place], interior);
    }
    draw(m_compressorSwitch, compressor);
    if (m_lampOn) {
        draw(m_lampLight, body);
    }
    draw(m_lampSwitch, body);
    draw(m_growthBar, body & Opacity(m_fish.alpha));
    if (m_lampOn) {
        m_lampGlow.hovered = true;
        draw(m_lampGlow, WHITE);
    }
    DrawLevelMark(device, screenScale, m_level);
    if (!m_empty && m_fish.kind >= 0) {
        m_fish.Draw(device, screenScale);
    }
    m_causticAnimation.DrawAdditive(device, screenScale, WHITE);
    if (m_bubblesAnimation.IsPlaying(0)) {
        m_bubblesAnimation.Draw(screenScale, WHITE);
    }
    if (m_compressorAnimation.IsPlaying(-1)) {
        m_compressorAnimation.Draw(screenScale, WHITE);
    }
    m_volumeLight.Draw(screenScale, VOLUME_LIGHT_COLOUR);
    if (m_dirtKind == static_cast<std::int32_t>(ITEM_BRUSH_1)) {
        draw(m_dirt1, Opacity(m_dirtAlpha));
    } else if (m_dirtKind == static_cast<std::int32_t>(ITEM_BRUSH_2)) {
        draw(m_dirt2, Opacity(m_dirtAlpha));
    }
}

void CAquarium::RenderOverlay(backend::IRenderDevice* device, Vec2 screenScale) {
    m_fish.bubble.Render(device, screenScale);
    if (m_sellAlpha > 0.0f) {
        const std::uint32_t highlight = m_highlighted[PART_SELL] ? Opacity(m_pulse.value) : WHITE;
        m_sellButton.Draw(device, screenScale, true, Opacity(m_sellAlpha) & highlight, true);
    }
    m_badge.Render(device, screenScale, Opacity(m_badgeAlpha), true);
}

void CAquarium::RenderShop(backend::IRenderDevice* device, Vec2 screenScale) {
    m_shadow.Draw(device, screenScale, true, WHITE, true);
    const bool pointed = m_body.hovered || m_shop.selected;
    m_body.Draw(device, screenScale, true, m_level > 0 || pointed ? WHITE : HALF_SHOWN, false);
    m_compressorSwitch.Draw(device, screenScale, true, WHITE, true);
    if (pointed) {
        DrawLevelMark(device, screenScale, m_level <= 0 ? 0 : std::min(m_level + 1, MAX_LEVEL));
    } else {
        DrawLevelMark(device, screenScale, m_level);
    }
    if (m_level == 0) {
        m_buyIcon.Draw(device, screenScale, true, WHITE, true);
    } else if (m_level < MAX_LEVEL) {
        m_upgradeIcon.Draw(device, screenScale, true, WHITE, true);
    }
}
