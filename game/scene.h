#pragma once
// The dispatcher of the game world. Every world object is a global of its own;
// the scene fixes the order in which they are built when the device is
// created, set up at every level start, updated each frame and drawn each
// frame, and it draws the game's mouse cursor.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"
#include "engine/platform/media_result.h"

struct InputState;

class CScene {
public:
    // The pet is sorted against a line this much below the heroine's feet.
    static constexpr float PET_LINE_OFFSET = 20.0f;
    // The cursor picture's corner lies this far left of and above the pointer.
    static constexpr float CURSOR_HOT_SPOT = 11.0f;

    // Once per device creation, after the resources are loaded: the world's
    // pictures, fishes.xml, levels.xml, the session's screens and the cursor.
    void Init();
    // Rebuilds the world objects for a level from its record's values and the
    // profile's upgrade levels.
    void ResetForLevel(std::int32_t location, std::int32_t locationLevel, std::int32_t foodTypes,
                       std::int32_t machineIngredients, std::int32_t brushTypes,
                       std::int32_t medicTypes, std::int32_t baseAquariums);
    // One frame of the shop, of the bonus game or of play, chosen by the mode
    // word and the level.
    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    // The world, the shop, the HUD and screens, the orders and the cursor.
    HResult Render(backend::IRenderDevice* device, const InputState& input, Vec2 screenScale);

    // The y of the heroine's feet, read anew at every use.
    static float GetDepthLine();

    std::int32_t GetCursorImage() const { return m_cursorImage; }
    std::int32_t GetPressedCursorImage() const { return m_pressedCursorImage; }
    const backend::Rect& GetCursorSource() const { return m_cursorSource; }
    const backend::Rect& GetPressedCursorSource() const { return m_pressedCursorSource; }

private:
    void UpdateShop(const InputState& input, Vec2 screenScale, float elapsed);
    void UpdatePlay(const InputState& input, Vec2 screenScale, float elapsed);
    void RenderWorld(backend::IRenderDevice* device, const InputState& input, Vec2 screenScale);
    void RenderShop(backend::IRenderDevice* device, Vec2 screenScale);
    void RenderCursor(const InputState& input, Vec2 screenScale);

    std::int32_t m_cursorImage;
    std::int32_t m_pressedCursorImage;
    backend::Rect m_cursorSource;
    backend::Rect m_pressedCursorSource;
};

// The order in which the world is built, reset, updated and drawn. One for the whole game, defined
// in game/globals.cpp.
extern CScene g_scene;

// The word of the upgrade shop, also while it is being left.
bool IsShopMode(std::uint32_t mode);
