#pragma once
// What the shop devices share: their sound effects and the descriptions of
// their pictures, cut from an atlas by left, right, top and bottom edges.
#include <cstdint>

#include "engine/media/gui_image.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"

struct PictureRect {
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
};

// Samples by position, always from the start and without fade-in.
inline void PlayDeviceSample(unsigned sample) {
    ResourceManager::Instance().GetSoundManager().Play(SoundType::Sample, sample, true, false);
}

inline GuiImageDesc DevicePicture(const char* image, PictureRect source, Vec2 position,
                                  float scale = 1.0f) {
    GuiImageDesc desc;
    desc.x = position.x;
    desc.y = position.y;
    desc.scaleX = scale;
    desc.scaleY = scale;
    desc.imageId = image;
    desc.left = source.left;
    desc.right = source.right;
    desc.top = source.top;
    desc.bottom = source.bottom;
    return desc;
}

// The picture with its glow, drawn additively over it while it is hovered;
// the glow is also its hit area, with the edges moved by the margins.
inline GuiImageDesc WithGlow(GuiImageDesc desc, const char* image, PictureRect glow, Vec2 position,
                             PictureRect margins = {0, 0, 0, 0}) {
    desc.hoverImageId = image;
    desc.hoverX = position.x;
    desc.hoverY = position.y;
    desc.hoverLeft = glow.left;
    desc.hoverRight = glow.right;
    desc.hoverTop = glow.top;
    desc.hoverBottom = glow.bottom;
    desc.marginLeft = margins.left;
    desc.marginRight = margins.right;
    desc.marginTop = margins.top;
    desc.marginBottom = margins.bottom;
    return desc;
}
