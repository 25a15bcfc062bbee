#pragma once
// The level's tools and ingredients on the shop floor.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

class CInstrumentPanel {
public:
    // The level's tools and ingredients at the location's places: the
    // computer at its level, and how many foods, machine ingredients, brushes
    // and medicines the level offers.
    void Build(std::int32_t location, std::int32_t computerLevel, std::int32_t foodTypes,
               std::int32_t machineIngredients, std::int32_t brushTypes, std::int32_t medicTypes) {
        m_location = location;
        m_computerLevel = computerLevel;
        m_foodTypes = foodTypes;
        m_machineIngredients = machineIngredients;
        m_brushTypes = brushTypes;
        m_medicTypes = medicTypes;
    }
    void SetAllDisabled(bool disabled) { m_allDisabled = disabled; }
    void ClearSelection() {}
    // The level of every item of exactly that kind (the computer and the
    // vitamins after a purchase).
    void SetLevelByKind(std::uint32_t /*kind*/, std::int32_t /*level*/) {}
    // Where the first item of that kind stands; (0, 0) while none has it.
    Vec2 GetItemPosition(std::uint32_t /*kind*/) const { return {}; }
    void Update(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void UpdateShop(const InputState& /*input*/, Vec2 /*screenScale*/, float /*elapsed*/) {}
    void Render(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}
    void RenderShop(backend::IRenderDevice* /*device*/, Vec2 /*screenScale*/) {}

    std::int32_t GetLocation() const { return m_location; }
    std::int32_t GetComputerLevel() const { return m_computerLevel; }
    std::int32_t GetFoodTypes() const { return m_foodTypes; }
    std::int32_t GetMachineIngredients() const { return m_machineIngredients; }
    std::int32_t GetBrushTypes() const { return m_brushTypes; }
    std::int32_t GetMedicTypes() const { return m_medicTypes; }
    bool AreAllDisabled() const { return m_allDisabled; }

private:
    std::int32_t m_location = 0;
    std::int32_t m_computerLevel = 0;
    std::int32_t m_foodTypes = 0;
    std::int32_t m_machineIngredients = 0;
    std::int32_t m_brushTypes = 0;
    std::int32_t m_medicTypes = 0;
    bool m_allDisabled = false;
};
