#include "shopfloor/request_bubble.h"

#include <algorithm>
#include <iterator>

#include "engine/platform/input_devices.h"
#include "engine/platform/random_float.h"
#include "game/game_session.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/shop_sounds.h"

namespace {

constexpr char INTERIORS_IMAGE[] = "AQUARIUM_INTERIORS";
constexpr char ANIMATION_IMAGE[] = "AQUARIUM_ANIMATION";
constexpr char INSTRUMENTS_IMAGE[] = "INSTRUMENTS";

constexpr float FADE_SPEED = 500.0f;
constexpr float RISE_SPEED = 100.0f;
// The small bubble starts this far below the anchor and stops this far above.
constexpr float RISE_START = 80.0f;
constexpr float RISE_TARGET = -29.0f;
constexpr float OPENING_SCALE = 0.6f;
constexpr std::int32_t RISING_WIDTH = 52;
constexpr std::int32_t RISING_HEIGHT = 50;
constexpr std::int32_t BODY_HEIGHT = 64;

// The two sizes: one icon, or up to four interior items side by side.
struct BubbleSize {
    float bodyX;  // of the anchor; the body is placed by its centre
    backend::Rect body;
    // The hit area reaches a little below the picture.
    backend::Rect hit;
    float edgeX;
    backend::Rect topEdge;
    backend::Rect bottomEdge;
    backend::Rect fill;
    float fillX;
    float surfaceX;
    std::int32_t surfaceRightCrop;
    float airBubbleX;
    float airBubbleRange;
};

constexpr BubbleSize SINGLE_SIZE = {124.0f,
                                    {0, 384, 88, 448},
                                    {0, 384, 88, 453},
                                    80.0f,
                                    {0, 384, 88, 388},
                                    {0, 445, 88, 448},
                                    {0, 423, 79, 485},
                                    83.0f,
                                    82.0f,
                                    -40,
                                    80.0f,
                                    78.0f};
constexpr BubbleSize INTERIOR_SIZE = {125.0f,
                                      {0, 448, 122, 512},
                                      {0, 448, 123, 517},
                                      64.0f,
                                      {0, 448, 122, 452},
                                      {0, 509, 122, 512},
                                      {0, 423, 116, 485},
                                      67.0f,
                                      66.0f,
                                      -4,
                                      64.0f,
                                      113.0f};

struct SingleIcon {
    std::uint32_t request;
    const char* image;
    backend::Rect source;
    float x;
    float y;
};

// Tested bit by bit in this order; the last row that matches shows.
const SingleIcon CARE_ICONS[] = {
    {ITEM_FOOD_1, INTERIORS_IMAGE, {213, 349, 287, 412}, 86.0f, -58.0f},
    {ITEM_FOOD_2, INTERIORS_IMAGE, {45, 234, 119, 298}, 86.0f, -59.0f},
    {ITEM_FOOD_3, INTERIORS_IMAGE, {118, 223, 193, 289}, 86.0f, -60.0f},
    {ITEM_FOOD_4, INTERIORS_IMAGE, {211, 291, 286, 349}, 86.0f, -58.0f},
    {ITEM_VITAMIN_GROWTH, INTERIORS_IMAGE, {217, 410, 287, 473}, 89.0f, -59.0f},
    {ITEM_VITAMIN_COST, INTERIORS_IMAGE, {77, 303, 133, 363}, 96.0f, -53.0f},
    {ITEM_MEDICINE_2, INTERIORS_IMAGE, {160, 363, 216, 426}, 95.0f, -58.0f},
    {ITEM_MEDICINE_1, INTERIORS_IMAGE, {227, 189, 286, 252}, 92.0f, -58.0f},
    {ITEM_BRUSH_1, INTERIORS_IMAGE, {87, 363, 162, 425}, 87.0f, -61.0f},
    {ITEM_BRUSH_2, INTERIORS_IMAGE, {131, 303, 213, 365}, 81.0f, -61.0f},
};

// Compared whole.
const SingleIcon SWITCH_ICONS[] = {
    {WISH_LAMP_ON, INSTRUMENTS_IMAGE, {190, 369, 248, 432}, 96.0f, -60.0f},
    {WISH_LAMP_OFF, INSTRUMENTS_IMAGE, {249, 369, 308, 432}, 97.0f, -61.0f},
    {WISH_COMPRESSOR_ON, INSTRUMENTS_IMAGE, {308, 369, 350, 432}, 104.0f, -63.0f},
    {WISH_COMPRESSOR_OFF, INSTRUMENTS_IMAGE, {350, 369, 410, 432}, 96.0f, -64.0f},
};

struct Place {
    float x;
    float y;
};

// An interior item's icon and its place by the number of categories wished;
// an item without a place for that number is not shown.
struct InteriorIcon {
    std::uint32_t item;
    backend::Rect source;
    bool placed[4];
    Place places[4];
};

const InteriorIcon INTERIOR_ICONS[] = {
    {STONE,
     {423, 473, 465, 511},
     {true, true, true, true},
     {{103, -44}, {85, -44}, {68, -42}, {69, -52}}},
    {ROCK,
     {425, 433, 465, 473},
     {true, true, true, true},
     {{103, -46}, {85, -46}, {68, -44}, {69, -53}}},
    {SAND,
     {465, 468, 511, 511},
     {true, true, true, true},
     {{102, -49}, {84, -49}, {67, -47}, {68, -56}}},
    {GREEN_GRASS,
     {124, 425, 174, 464},
     {false, true, true, true},
     {{0, 0}, {115, -43}, {98, -41}, {86, -37}}},
    {BLUE_GRASS,
     {299, 467, 342, 508},
     {false, true, true, true},
     {{0, 0}, {118, -49}, {101, -47}, {88, -43}}},
    {RED_GRASS,
     {341, 466, 401, 512},
     {false, true, true, true},
     {{0, 0}, {111, -54}, {94, -52}, {80, -47}}},
    {CASTLE,
     {122, 462, 174, 511},
     {false, true, true, true},
     {{0, 0}, {116, -56}, {131, -56}, {113, -62}}},
    {CHEST,
     {173, 425, 216, 473},
     {false, true, true, true},
     {{0, 0}, {121, -50}, {137, -51}, {115, -58}}},
    {SEA_SHELL,
     {211, 472, 255, 512},
     {false, true, true, true},
     {{0, 0}, {121, -49}, {137, -48}, {115, -58}}},
    {RED_CORAL,
     {171, 471, 213, 512},
     {false, true, true, true},
     {{0, 0}, {121, -46}, {139, -44}, {139, -39}}},
    {BLUE_CORAL,
     {253, 472, 301, 512},
     {false, true, true, true},
     {{0, 0}, {121, -47}, {136, -45}, {135, -39}}},
    {YELLOW_CORAL,
     {234, 253, 282, 290},
     {false, true, true, true},
     {{0, 0}, {121, -45}, {136, -43}, {135, -37}}},
};

// With three categories and a castle the algae moves this far left.
constexpr float CASTLE_ALGAE_SHIFT = -5.0f;

const std::uint32_t CATEGORY_MASKS[4] = {MASK_GROUND, MASK_ALGAE, MASK_HOUSE, MASK_CORAL};

GuiImageDesc Picture(const char* image, const backend::Rect& source, float x, float y,
                     float scale) {
    GuiImageDesc desc;
    desc.x = x;
    desc.y = y;
    desc.scaleX = scale;
    desc.scaleY = scale;
    desc.imageId = image;
    desc.left = source.left;
    desc.right = source.right;
    desc.top = source.top;
    desc.bottom = source.bottom;
    return desc;
}

std::uint32_t Colour(float opacity) {
    return (static_cast<std::uint32_t>(opacity) << 24) | 0xFFFFFFu;
}

void DrawPicture(CGuiImage& picture, backend::IRenderDevice* device, Vec2 screenScale,
                 float opacity) {
    // An invisible draw is left out.
    if (static_cast<std::uint32_t>(opacity) != 0) {
        picture.Draw(device, screenScale, false, Colour(opacity), true);
    }
}

}  // namespace

void CRequestBubble::SetRequest(std::uint32_t request, float limit, float x, float y) {
    shop_sound::Play((request & MASK_BRUSH) != 0 ? shop_sound::BRUSH_WISH : shop_sound::WISH);
    m_limit = limit;
    m_request = request;
    m_x = x;
    m_y = y;
    m_warnPulse.Set(127.0f, 255.0f, 255.0f, 400.0f, -1);
    m_elapsed = 0.0f;
    m_expired = false;
    m_alpha = 0.0f;
    m_riseFade = 0.0f;
    m_warned = false;
    for (CGuiImage& icon : m_icons) {
        icon.Reset();
    }
    ClearAnimations();

    SheetClipDesc surface;
    surface.imageId = ANIMATION_IMAGE;
    surface.cellRight = 121;
    surface.cellBottom = 13;
    surface.endRow = 31;
    surface.columns = 1;
    surface.rows = 32;
    surface.rowStep = 1;
    surface.frameTime = 0.05f;
    m_surface.AddClip(surface);
    m_surface.Play(0, true, false, -1.0f);

    m_airBubbleCountdown = 2.0f * RandomFloat(1.0f, 2.0f, 1);
    m_riseScale = 0.0f;
    m_bodyScale = OPENING_SCALE;
    m_riseTargetY = y + RISE_TARGET;
    BuildParts();
    BuildIcons();
}

void CRequestBubble::BuildParts() {
    const BubbleSize& size = IsInteriorSize() ? INTERIOR_SIZE : SINGLE_SIZE;
    m_risingBubble.Create(
        Picture(ANIMATION_IMAGE, {123, 436, 175, 486}, m_x + size.bodyX, m_y + RISE_START, 0.0f));

    GuiImageDesc body =
        Picture(INTERIORS_IMAGE, size.body, m_x + size.bodyX, m_y + RISE_TARGET, 0.0f);
    body.hoverX = body.x;
    body.hoverY = body.y;
    body.hoverLeft = size.hit.left;
    body.hoverRight = size.hit.right;
    body.hoverTop = size.hit.top;
    body.hoverBottom = size.hit.bottom;
    m_body.Create(body);

    m_topEdge.Create(Picture(INTERIORS_IMAGE, size.topEdge, m_x + size.edgeX, m_y - 61.0f, 1.0f));
    m_bottomEdge.Create(Picture(INTERIORS_IMAGE, size.bottomEdge, m_x + size.edgeX, m_y, 1.0f));
    m_fillX = m_x + size.fillX;
    m_fillY = m_y - 60.0f;
    m_fill.Create(Picture(ANIMATION_IMAGE, size.fill, m_fillX, m_fillY, 1.0f));
    m_surface.SetPosition(m_x + size.surfaceX, m_y - 62.0f);
}

void CRequestBubble::BuildIcons() {
    if (!IsInteriorSize()) {
        const SingleIcon* shown = nullptr;
        for (const SingleIcon& icon : CARE_ICONS) {
            if ((m_request & icon.request) != 0) {
                shown = &icon;
            }
        }
        for (const SingleIcon& icon : SWITCH_ICONS) {
            if (m_request == icon.request) {
                shown = &icon;
            }
        }
        if (shown != nullptr) {
            m_icons[ICON_GROUND].Create(
                Picture(shown->image, shown->source, m_x + shown->x, m_y + shown->y, 1.0f));
        }
        return;
    }
    int categories = 0;
    for (std::uint32_t mask : CATEGORY_MASKS) {
        categories += (m_request & mask) != 0 ? 1 : 0;
    }
    if (categories == 0) {
        return;
    }
    const int column = categories - 1;
    for (int slot = ICON_GROUND; slot <= ICON_CORAL; ++slot) {
        // The first item of the category in table order stands for it.
        for (const InteriorIcon& icon : INTERIOR_ICONS) {
            if ((icon.item & CATEGORY_MASKS[slot] & m_request) == 0) {
                continue;
            }
            if (icon.placed[column]) {
                Place place = icon.places[column];
                if (slot == ICON_ALGAE && categories == 3 && (m_request & CASTLE) != 0) {
                    place.x += CASTLE_ALGAE_SHIFT;
                }
                m_icons[static_cast<std::size_t>(slot)].Create(
                    Picture(INTERIORS_IMAGE, icon.source, m_x + place.x, m_y + place.y, 1.0f));
            }
            break;
        }
    }
}

void CRequestBubble::Update(const InputState& input, Vec2 screenScale, float dt, float effect) {
    if (m_elapsed >= m_limit && m_alpha <= 0.0f) {
        return;
    }
    UpdateOpening(dt);
    UpdateWaitingTime(dt, effect);
    if (m_bodyScale >= 1.0f) {
        if (m_elapsed < m_limit && m_alpha < 255.0f) {
            m_alpha = std::min(m_alpha + FADE_SPEED * dt, 255.0f);
        }
        if (m_request != 0 && m_elapsed >= m_limit && m_alpha > 0.0f) {
            m_alpha -= FADE_SPEED * dt;
            if (m_alpha < 0.0f) {
                Reset();
            }
        }
    }
    m_surface.Update(dt);
    UpdateWater(dt);
    for (CSheetAnimation& airBubble : m_airBubbles) {
        airBubble.Update(dt);
    }
    std::erase_if(m_airBubbles,
                  [](const CSheetAnimation& airBubble) { return !airBubble.IsPlaying(-1); });
    if (m_limit == 0.0f) {
        m_body.hovered = false;
    } else {
        m_body.UpdateHover(input, screenScale);
    }
}

void CRequestBubble::UpdateOpening(float dt) {
    if (m_riseScale < 1.0f) {
        m_riseScale = std::min(m_riseScale + dt, 1.0f);
        m_risingBubble.scaleX = m_riseScale;
        m_risingBubble.scaleY = m_riseScale;
        m_risingBubble.offsetX = -RISING_WIDTH * m_riseScale / 2.0f;
        m_risingBubble.offsetY = -RISING_HEIGHT * m_riseScale / 2.0f;
    }
    if (m_risingBubble.y > m_riseTargetY) {
        m_risingBubble.y = std::max(m_risingBubble.y - RISE_SPEED * dt, m_riseTargetY);
        return;
    }
    if (m_riseFade < 255.0f) {
        m_riseFade = std::min(m_riseFade + FADE_SPEED * dt, 255.0f);
    }
    if (m_bodyScale < 1.0f) {
        m_bodyScale = std::min(m_bodyScale + dt, 1.0f);
        const float width = IsInteriorSize() ? 122.0f : 88.0f;
        m_body.scaleX = m_bodyScale;
        m_body.scaleY = m_bodyScale;
        m_body.offsetX = -width * m_bodyScale / 2.0f;
        m_body.offsetY = -BODY_HEIGHT * m_bodyScale / 2.0f;
    }
}

void CRequestBubble::UpdateWaitingTime(float dt, float effect) {
    if (effect > 0.0f) {
        // The wish gains time back; the warning pulse stands still meanwhile.
        if (m_elapsed > 0.0f) {
            m_elapsed = std::max(m_elapsed - dt * effect, 0.0f);
        }
        return;
    }
    if (m_elapsed < m_limit && !g_gameSession.HasModeBits(MODE_TRAINING)) {
        m_elapsed += dt;
        if (m_elapsed >= m_limit) {
            m_elapsed = m_limit;
            m_expired = true;
        }
        if (!m_warned && GetPatience() < WARNING_PATIENCE) {
            shop_sound::Play(shop_sound::WISH_WARNING);
            m_warned = true;
        }
    }
    if (m_warned) {
        m_warnPulse.Update(dt);
    }
}

void CRequestBubble::UpdateWater(float dt) {
    if (m_limit == 0.0f || m_alpha == 0.0f) {
        return;
    }
    const float f = m_elapsed / m_limit;
    const std::int32_t w = std::min(static_cast<std::int32_t>(62.0f * f), 13);
    const std::int32_t level = static_cast<std::int32_t>(69.0f * f);
    const std::int32_t top = level <= 61 ? 0 : std::min(level - 61, 13);
    const std::int32_t partial = (top > 0 || w < 13) ? 1 : 0;
    const BubbleSize& size = IsInteriorSize() ? INTERIOR_SIZE : SINGLE_SIZE;
    m_surface.SetClipCrop(0, 1 + partial, size.surfaceRightCrop - partial, top, w - 13);
    m_surface.SetPosition(m_surface.GetPosition().x, m_fillY + 62.0f - static_cast<float>(level));

    const float fillY = m_fillY + 66.0f - static_cast<float>(level);
    m_fill.y = fillY < m_fillY + 1.0f ? m_fillY : fillY;
    const std::int32_t sourceTop = m_fill.source.top;
    m_fill.source.bottom = std::clamp(sourceTop + level - 5, sourceTop, sourceTop + 64);

    const std::int32_t height = m_fill.source.bottom - sourceTop;
    if (height >= 10) {
        m_airBubbleCountdown -= dt;
        if (m_airBubbleCountdown <= 0.0f) {
            m_airBubbleCountdown =
                RandomFloat(0.2f, 1.2f, static_cast<std::int32_t>(m_elapsed + 7.0f) * (w + 11));
            AddAirBubble(static_cast<float>(height), w);
        }
    }
}

void CRequestBubble::AddAirBubble(float waterHeight, std::int32_t w) {
    const BubbleSize& size = IsInteriorSize() ? INTERIOR_SIZE : SINGLE_SIZE;
    const std::int32_t e = static_cast<std::int32_t>(m_elapsed);
    SheetClipDesc desc;
    desc.imageId = ANIMATION_IMAGE;
    desc.cellRight = 6;
    desc.cellBottom = 6;
    desc.originX = 125;
    desc.endRow = 15;
    desc.columns = 1;
    desc.rows = 16;
    desc.rowStep = 1;
    desc.frameTime = 0.05f;
    CSheetAnimation& airBubble = m_airBubbles.emplace_back();
    airBubble.AddClip(desc);
    const float x = m_x + size.airBubbleX +
                    RandomFloat(10.0f, size.airBubbleRange, (e + 13) * (e + 7) * (w + 5));
    const float y =
        m_y - 61.0f + RandomFloat(69.0f - waterHeight, 57.0f, (e + 11) * (e + 3) * (w + 4));
    airBubble.SetPosition(x, y);
    airBubble.Play(0, true, false, 0.1f);
}

void CRequestBubble::Render(backend::IRenderDevice* device, Vec2 screenScale) {
    const float a = std::min(m_alpha, m_warnPulse.value);
    if (m_elapsed < m_limit) {
        DrawPicture(m_risingBubble, device, screenScale,
                    255.0f - static_cast<float>(static_cast<std::int32_t>(m_riseFade)));
        DrawPicture(m_body, device, screenScale, std::min(m_riseFade, m_warnPulse.value));
    } else {
        DrawPicture(m_body, device, screenScale, a);
    }
    if (m_alpha == 0.0f) {
        return;
    }
    for (int slot : {ICON_GROUND, ICON_HOUSE, ICON_ALGAE, ICON_CORAL}) {
        DrawPicture(m_icons[static_cast<std::size_t>(slot)], device, screenScale, a);
    }
    DrawPicture(m_fill, device, screenScale, a);
    const std::uint32_t colour = Colour(a);
    m_surface.Draw(screenScale, colour);
    DrawPicture(m_topEdge, device, screenScale, a);
    DrawPicture(m_bottomEdge, device, screenScale, a);
    for (CSheetAnimation& airBubble : m_airBubbles) {
        airBubble.Draw(screenScale, colour);
    }
}

std::uint32_t CRequestBubble::GetRequest() const {
    return (m_elapsed < m_limit && m_alpha > 0.0f) ? m_request : 0u;
}

float CRequestBubble::GetPatience() const {
    return m_limit > 0.0f ? (1.0f - m_elapsed / m_limit) * 100.0f : 0.0f;
}

bool CRequestBubble::TakeExpired() {
    if (!m_expired) {
        return false;
    }
    shop_sound::Play(shop_sound::WISH_EXPIRED);
    m_expired = false;
    return true;
}

void CRequestBubble::Reset() {
    m_alpha = 0.0f;
    m_riseFade = 0.0f;
    m_limit = 0.0f;
    m_elapsed = 0.0f;
    m_request = 0;
    m_bodyScale = 0.0f;
    m_riseScale = 0.0f;
    m_warned = false;
    ClearAnimations();
}

void CRequestBubble::ClearAnimations() {
    m_surface.ClearClips();
    for (CSheetAnimation& airBubble : m_airBubbles) {
        airBubble.ClearClips();
    }
    m_airBubbles.clear();
}
