#pragma once
// A screen button with a normal and a hover image and a caption from the
// language table. Moving onto it plays sample 0 and a click plays sample 1.
#include <cstdint>
#include <string>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

struct GuiButtonDesc {
    float x = 0.0f;
    float y = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    std::int32_t font = 0;
    std::string captionId;
    // Used only to measure the caption for centring.
    float letterSpacing = 0.0f;
    std::string normalImageId;
    std::int32_t normalLeft = 0;
    std::int32_t normalRight = 0;
    std::int32_t normalTop = 0;
    std::int32_t normalBottom = 0;
    std::string hoverImageId;
    std::int32_t hoverLeft = 0;
    std::int32_t hoverRight = 0;
    std::int32_t hoverTop = 0;
    std::int32_t hoverBottom = 0;
    // Added to the position while the button is hovered.
    float hoverOffsetX = 0.0f;
    float hoverOffsetY = 0.0f;
    // true: a click is the release of the left button over the button;
    // false: its press.
    bool clickOnRelease = true;
};

class CGuiButton {
public:
    // Sample numbers of the hover and click sounds.
    static constexpr unsigned HOVER_SAMPLE = 0;
    static constexpr unsigned CLICK_SAMPLE = 1;

    CGuiButton() = default;

    void Reset() { *this = CGuiButton(); }
    void Create(const GuiButtonDesc& desc);
    // The frame's hit test: hover sound, click detection and click sound.
    // True in the frame of a click.
    bool CheckClick(const InputState& input, Vec2 screenScale);
    void Draw(Vec2 screenScale, std::uint32_t colour);

    bool hovered = false;
    // Held down: the button and its caption move 2 pixels down and right.
    bool pressed = false;
    float x = 0.0f;
    float y = 0.0f;
    float captionX = 0.0f;
    float captionY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float hoverOffsetX = 0.0f;
    float hoverOffsetY = 0.0f;
    bool clickOnRelease = true;
    std::int32_t caption = -1;  // index into the language table
    std::int32_t font = -1;
    std::int32_t normalImage = -1;
    std::int32_t hoverImage = -1;
    backend::Rect normalSource;
    backend::Rect hoverSource;
};
