#include "shopfloor/sale_badge.h"

#include <iterator>

#include "engine/media/resource_manager.h"
#include "engine/platform/number_text.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/shop_sounds.h"

namespace {

struct KindIcon {
    backend::Rect source;
    // Added to the icon's place in the badge, so each kind sits in the bubble.
    Vec2 nudge;
};

// Indexed by kind.
const KindIcon KIND_ICONS[] = {
    {{226, 103, 302, 160}, {0, 0}},    {{411, 13, 478, 78}, {0, -10}},
    {{162, 108, 226, 167}, {4, 0}},    {{90, 157, 160, 205}, {2, 5}},
    {{168, 205, 252, 285}, {-6, -13}}, {{432, 154, 512, 227}, {-3, -6}},
    {{178, 57, 265, 103}, {-3, 8}},    {{253, 0, 339, 52}, {-4, 2}},
    {{90, 263, 154, 321}, {0, -3}},    {{90, 54, 177, 108}, {-3, 3}},
    {{90, 108, 162, 157}, {2, 7}},     {{5, 439, 123, 494}, {-5, 5}},
    {{90, 205, 168, 263}, {1, 2}},     {{130, 0, 186, 53}, {4, 1}},
    {{186, 0, 253, 56}, {1, -3}},      {{226, 160, 292, 205}, {3, 4}},
    {{265, 53, 326, 100}, {6, 5}},
};
static_assert(std::size(KIND_ICONS) == FISH_KIND_COUNT);

constexpr float FRAME_SCALE = 0.75f;
constexpr float ICON_SCALE = 0.7f;
// The count stands at this place of the frame.
constexpr float COUNT_X = 47.0f;
constexpr float COUNT_Y = 21.0f;
constexpr float COUNT_SCALE = 0.7f;
constexpr std::int32_t COUNT_FONT = 1;

bool IsFishKind(std::int32_t kind) {
    return kind >= 0 && kind < FISH_KIND_COUNT;
}

}  // namespace

CGuiImage CSaleBadge::MakeFishIcon(std::int32_t kind, float x, float y, float scaleX,
                                   float scaleY) {
    CGuiImage picture;
    if (!IsFishKind(kind)) {
        return picture;
    }
    const backend::Rect& source = KIND_ICONS[kind].source;
    GuiImageDesc desc;
    desc.x = x;
    desc.y = y;
    desc.scaleX = scaleX;
    desc.scaleY = scaleY;
    desc.imageId = "ICONS";
    desc.left = source.left;
    desc.right = source.right;
    desc.top = source.top;
    desc.bottom = source.bottom;
    picture.Create(desc);
    return picture;
}

void CSaleBadge::ResetOffsets() {
    icon.offsetX = 0.0f;
    icon.offsetY = 0.0f;
    frame.offsetX = 0.0f;
    frame.offsetY = 0.0f;
}

void CSaleBadge::Add(std::int32_t newKind, float x, float y) {
    if (newKind == kind) {
        ++count;
        ResetOffsets();
    } else {
        kind = newKind;
        count = 1;
        GuiImageDesc desc;
        desc.x = x - 6.0f;
        desc.y = y - 6.0f;
        desc.scaleX = FRAME_SCALE;
        desc.scaleY = FRAME_SCALE;
        desc.imageId = "AQUARIUM_INTERIORS";
        desc.right = 88;
        desc.top = 384;
        desc.bottom = 448;
        frame.Create(desc);
        icon = MakeFishIcon(kind, x, y, ICON_SCALE, ICON_SCALE);
        if (IsFishKind(kind)) {
            icon.x += KIND_ICONS[kind].nudge.x;
            icon.y += KIND_ICONS[kind].nudge.y;
        }
    }
    shop_sound::Play(count == 1   ? shop_sound::SALE_CHAIN_1
                     : count == 2 ? shop_sound::SALE_CHAIN_2
                                  : shop_sound::SALE_CHAIN_3);
}

void CSaleBadge::Render(backend::IRenderDevice* device, Vec2 screenScale, std::uint32_t colour,
                        bool showCount) {
    if (showCount) {
        frame.Draw(device, screenScale, true, colour, true);
    }
    icon.Draw(device, screenScale, true, colour, true);
    if (showCount && count > 0) {
        const Vec2 position{(frame.x + frame.offsetX + COUNT_X) * screenScale.x,
                            (frame.y + frame.offsetY + COUNT_Y) * screenScale.y};
        ResourceManager::Instance().DrawText(
            COUNT_FONT, WithNumber(u"", u"x", count),
            {COUNT_SCALE * screenScale.x, COUNT_SCALE * screenScale.y}, position, colour, true,
            false, 0.0f, 0.0f, true);
    }
}
