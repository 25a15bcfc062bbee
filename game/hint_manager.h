#pragma once
// Hint windows: a tiled panel with a header and a text, and up to two arrows
// that point at the thing explained. The upgrade shop opens one while the
// pointer rests on an upgradeable object and the training opens one per tip.
// The windows wait in a queue of which only the first is updated and shown; a
// closed window fades out and leaves the queue, and the next takes its place.
#include <cstdint>
#include <list>
#include <string>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/platform/geometry.h"
#include "engine/platform/oscillator.h"
#include "game/hint_panel.h"

struct InputState;

// What a caller asks for when it opens a hint window.
struct HintDesc {
    Vec2 firstArrowPosition;
    // (1, 0), (-1, 0), (0, 1) or (0, -1); (0, 0) shows no arrow.
    Vec2 firstArrowDirection;
    Vec2 secondArrowPosition;
    Vec2 secondArrowDirection;
    // Top-left corner of the panel, design units.
    Vec2 panelPosition;
    std::int32_t headerFont = 0;
    std::string headerId;
    std::int32_t textFont = 0;
    std::string textId;
    // Panel width in 28-pixel tiles and body height in tiles.
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    // Header and text centred on the panel.
    bool centred = false;
};

class CHintWindow {
public:
    std::int32_t id = 0;
    CGuiImage firstArrow;
    CGuiImage secondArrow;
    Vec2 firstDirection;
    Vec2 secondDirection;
    Vec2 headerPosition;
    Vec2 textPosition;
    std::int32_t textFont = 0;
    std::int32_t text = -1;  // index into the language table
    std::int32_t headerFont = 0;
    std::int32_t headerText = -1;
    float panelAlpha = 0.0f;
    float firstArrowAlpha = 0.0f;
    float secondArrowAlpha = 0.0f;
    COscillator arrowOscillator;
    bool open = false;
    CHintPanel panel;
    bool centred = false;
};

class CHintManager {
public:
    // Alpha units per second of every fade in and out.
    static constexpr float FADE_SPEED = 1000.0f;
    // Arrows pop in from this size and grow back to it while they leave.
    static constexpr float ARROW_POP_SCALE = 1.5f;
    // Scale units per second of the pop.
    static constexpr float ARROW_POP_SPEED = 2.0f;
    static constexpr unsigned SAMPLE_OPEN = 2;

    // Queues a window and answers its id.
    std::int32_t AddHint(HintDesc desc);
    // Starts the window's fade-out; false when no window has the id.
    bool CloseHint(std::int32_t id);
    void CloseAll();
    // False without windows.
    bool IsFirstHintOpen() const;
    // Drops every window at once, without fading.
    void Clear();
    // Neither the input nor the scale is read.
    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    void Render(backend::IRenderDevice* device, Vec2 screenScale);

    const std::list<CHintWindow>& GetWindows() const { return m_windows; }

    // Whether the first window shows its first and its second arrow; the
    // training and the shop hints set these directly.
    bool showFirstArrow = true;
    bool showSecondArrow = true;

private:
    std::list<CHintWindow> m_windows;
    std::int32_t m_lastId = 0;
};

// The hint windows of the upgrade shop and of the training. One for the whole game, defined in
// game/globals.cpp.
extern CHintManager g_hintManager;
