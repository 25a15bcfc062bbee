#pragma once
// A screen element that lights up while the cursor is over it: an image with
// an optional hover image drawn over it. Embedded by value in its owner, which
// tests it against the frame's input and draws it with the screen scale.
#include <cstdint>
#include <string>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

struct GuiImageDesc {
    float x = 0.0f;
    float y = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    std::string imageId;
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    std::string hoverImageId;
    float hoverX = 0.0f;
    float hoverY = 0.0f;
    std::int32_t hoverLeft = 0;
    std::int32_t hoverRight = 0;
    std::int32_t hoverTop = 0;
    std::int32_t hoverBottom = 0;
    // Move the edges of the hover area they name: a negative left or top and a
    // positive right or bottom enlarge it.
    std::int32_t marginLeft = 0;
    std::int32_t marginRight = 0;
    std::int32_t marginTop = 0;
    std::int32_t marginBottom = 0;
};

// Whether a cursor lies inside an area given in window pixels, edges
// included; a mirrored axis (negative scale) has its bounds exchanged first.
bool GuiAreaContains(float cursorX, float cursorY, float left, float right, float top, float bottom,
                     float scaleX, float scaleY);

class CGuiImage {
public:
    CGuiImage() = default;

    void Reset() { *this = CGuiImage(); }
    void Create(const GuiImageDesc& desc);
    // Hovered while the cursor lies on the hover rectangle (with its margins).
    void UpdateHover(const InputState& input, Vec2 screenScale);
    // The image, and over it the hover image while hovered and drawHover is
    // set. snap puts the images on whole pixels.
    void Draw(backend::IRenderDevice* device, Vec2 screenScale, bool snap, std::uint32_t colour,
              bool drawHover);

    // Owners read and set these directly: the offset moves the element, the
    // additive flag picks how the hover image is blended.
    bool hovered = false;
    bool additiveHover = true;
    float x = 0.0f;
    float y = 0.0f;
    float hoverX = 0.0f;
    float hoverY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    float centreX = 0.0f;
    float centreY = 0.0f;
    float rotation = 0.0f;
    std::int32_t image = -1;
    backend::Rect source;
    std::int32_t hoverImage = -1;
    backend::Rect hoverSource;
    std::int32_t marginLeft = 0;
    std::int32_t marginTop = 0;
    std::int32_t marginRight = 0;
    std::int32_t marginBottom = 0;
};
