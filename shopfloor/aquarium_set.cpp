#include "shopfloor/aquarium_set.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "game/game_session.h"
#include "shopfloor/depth_pass.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"

namespace {

struct Slot {
    std::int32_t look;
    std::int32_t profileSlot;
    std::int32_t compressorStyle;
    float x;
    float y;
};

// By location; the fifth slot of location 1 only from base count 3 on.
constexpr std::array<std::array<Slot, 5>, 3> LAYOUTS = {{
    {{{0, 0, 0, 350, 280},
      {3, 1, 0, 640, 340},
      {3, 2, 0, 210, 440},
      {0, 3, 1, 690, 500},
      {0, 4, 2, 250, 600}}},
    {{{1, 0, 0, 300, 280},
      {3, 1, 0, 585, 340},
      {3, 2, 0, 200, 440},
      {1, 3, 1, 650, 510},
      {1, 4, 2, 250, 600}}},
    {{{2, 0, 0, 200, 280},
      {3, 1, 0, 610, 280},
      {3, 2, 0, 150, 440},
      {2, 3, 1, 640, 470},
      {2, 4, 2, 220, 600}}},
}};

constexpr std::array<Slot, 2> TRAINING_LOCATION_1 = {{{0, 0, 0, 370, 300}, {0, 3, 1, 670, 470}}};
constexpr std::array<Slot, 1> TRAINING_LOCATION_2 = {{{1, 0, 0, 420, 330}}};

constexpr std::uint32_t INTERIOR_LIMIT = 0x1000;

}  // namespace

void CAquariumSet::AddAquarium(std::int32_t look, std::int32_t level, std::int32_t compressorStyle,
                               std::uint32_t interior, float x, float y, float scaleX, float scaleY,
                               bool hidden) {
    CAquarium aquarium;
    aquarium.Build(look, level, compressorStyle, interior, x, y, scaleX, scaleY, hidden);
    m_aquariums.push_back(aquarium);
}

void CAquariumSet::Setup(std::int32_t baseCount) {
    const CProfile* profile = g_gameSession.GetCurrentProfile();
    if (profile == nullptr) {
        return;
    }
    m_blinkTimer = 0.0f;
    m_aquariums.clear();
    const std::int32_t location = g_location.GetLocation();
    if (location < 1 || location > 3) {
        return;
    }
    const auto add = [&](const Slot& slot, bool hidden) {
        AddAquarium(slot.look, profile->slotLevels[slot.profileSlot], slot.compressorStyle, 0,
                    slot.x, slot.y, 1.0f, 1.0f, hidden);
    };
    if (g_gameSession.HasModeBits(MODE_TRAINING) && location == 1) {
        for (const Slot& slot : TRAINING_LOCATION_1) {
            add(slot, false);
        }
        return;
    }
    if (g_gameSession.HasModeBits(MODE_TRAINING) && location == 2) {
        for (const Slot& slot : TRAINING_LOCATION_2) {
            add(slot, false);
        }
        return;
    }
    const auto& layout = LAYOUTS[static_cast<std::size_t>(location - 1)];
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const bool fifthOfFirst = location == 1 && i == 4;
        if (fifthOfFirst && baseCount < 3) {
            break;
        }
        add(layout[i], fifthOfFirst && m_previousBaseCount < baseCount);
    }
}

void CAquariumSet::Update(const InputState& input, Vec2 screenScale, float elapsed) {
    // Once per frame, so a frame without time moves nothing on.
    if (m_blinkTimer >= 0.0f && g_gameSession.GetLevelStartDelay() <= 0.0f) {
        m_blinkTimer += std::floor(m_blinkTimer * 0.5f + 1.0f) * elapsed;
        if (m_blinkTimer >= BLINK_END) {
            m_blinkTimer = -1.0f;
            for (CAquarium& aquarium : m_aquariums) {
                aquarium.SetHidden(false);
            }
        }
    }
    // Each aquarium is told whether any sell button or bubble of the set is
    // hovered as it stands when its turn comes, earlier aquariums already
    // updated. The counts follow each update instead of a look over the
    // whole set per aquarium.
    std::int32_t sellButtonsHovered = 0;
    std::int32_t bubblesHovered = 0;
    for (const CAquarium& aquarium : m_aquariums) {
        sellButtonsHovered += aquarium.IsSellButtonHovered() ? 1 : 0;
        bubblesHovered += aquarium.GetFish().bubble.IsHovered() ? 1 : 0;
    }
    for (CAquarium& aquarium : m_aquariums) {
        if (aquarium.IsHidden()) {
            continue;
        }
        const bool sellButtonWasHovered = aquarium.IsSellButtonHovered();
        const bool bubbleWasHovered = aquarium.GetFish().bubble.IsHovered();
        aquarium.Update(input, screenScale, elapsed, sellButtonsHovered == 0, bubblesHovered > 0);
        sellButtonsHovered +=
            (aquarium.IsSellButtonHovered() ? 1 : 0) - (sellButtonWasHovered ? 1 : 0);
        bubblesHovered +=
            (aquarium.GetFish().bubble.IsHovered() ? 1 : 0) - (bubbleWasHovered ? 1 : 0);
    }
}

void CAquariumSet::UpdateShopHints(const InputState& input, Vec2 screenScale, float elapsed) {
    for (std::size_t i = 0; i < m_aquariums.size(); ++i) {
        if (!m_aquariums[i].IsHidden()) {
            m_aquariums[i].UpdateShop(input, screenScale, elapsed, static_cast<std::int32_t>(i));
        }
    }
}

void CAquariumSet::RenderByDepth(backend::IRenderDevice* device, Vec2 screenScale, float line,
                                 bool inFront) {
    for (CAquarium& aquarium : m_aquariums) {
        if (IsShown(aquarium) && IsInDepthPass(aquarium.GetBottomEdge(), line, inFront)) {
            aquarium.RenderBody(device, screenScale);
        }
    }
}

void CAquariumSet::RenderOverlaysByDepth(backend::IRenderDevice* device, Vec2 screenScale,
                                         float line, bool inFront) {
    for (CAquarium& aquarium : m_aquariums) {
        if (IsShown(aquarium) && IsInDepthPass(aquarium.GetBottomEdge(), line, inFront)) {
            aquarium.RenderOverlay(device, screenScale);
        }
    }
}

void CAquariumSet::RenderShop(backend::IRenderDevice* device, Vec2 screenScale) {
    for (CAquarium& aquarium : m_aquariums) {
        if (!aquarium.IsHidden()) {
            aquarium.RenderShop(device, screenScale);
        }
    }
}

std::int32_t CAquariumSet::ApplyItem(std::uint32_t item, std::uint32_t other, std::int32_t index) {
    CAquarium* aquarium = GetAquarium(index);
    if (aquarium == nullptr) {
        return 0;
    }
    const std::uint32_t request = aquarium->GetRequest();
    if (request == 0 && item != ITEM_COMPRESSOR_SWITCH && item != ITEM_LAMP_SWITCH) {
        return -1;
    }
    bool switchMatched = false;
    if (item == ITEM_COMPRESSOR_SWITCH) {
        item = aquarium->DeliverCompressorSwitch(request);
        switchMatched = request == item;
    } else if (item == ITEM_LAMP_SWITCH) {
        item = aquarium->DeliverLampSwitch(request);
        switchMatched = request == item;
    }
    if (request == item && item != 0) {
        if (request < INTERIOR_LIMIT) {
            aquarium->SetInterior(item);
        }
    } else if (!switchMatched) {
        return 0;
    }
    CFish& fish = aquarium->GetFish();
    if ((other == ITEM_VITAMIN_GROWTH || other == ITEM_VITAMIN_COST) && (item & MASK_FOOD) != 0) {
        fish.ApplyItem(item | other);
        return 2;
    }
    fish.ApplyItem(item);
    return item < INTERIOR_LIMIT ? 2 : 1;
}

bool CAquariumSet::AllEmpty() const {
    return std::all_of(m_aquariums.begin(), m_aquariums.end(),
                       [](const CAquarium& aquarium) { return aquarium.IsEmpty(); });
}

bool CAquariumSet::AllEmptyOrFurnished() const {
    return std::all_of(m_aquariums.begin(), m_aquariums.end(), [](const CAquarium& aquarium) {
        return aquarium.IsEmpty() || aquarium.GetInterior() != 0;
    });
}

std::int32_t CAquariumSet::FindHoveredIndex() const {
    for (std::size_t i = 0; i < m_aquariums.size(); ++i) {
        if (m_aquariums[i].IsHovered()) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

bool CAquariumSet::NoSellButtonHovered() const {
    return std::none_of(m_aquariums.begin(), m_aquariums.end(),
                        [](const CAquarium& aquarium) { return aquarium.IsSellButtonHovered(); });
}

bool CAquariumSet::AnyBubbleHovered() const {
    return std::any_of(m_aquariums.begin(), m_aquariums.end(), [](const CAquarium& aquarium) {
        return aquarium.GetFish().bubble.IsHovered();
    });
}

void CAquariumSet::ClearAll() {
    for (CAquarium& aquarium : m_aquariums) {
        aquarium.Clear();
    }
}
