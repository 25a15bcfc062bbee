#pragma once
// The description of a plain picture of the shop floor: one rectangle of an
// image at a place, scale 1, no hover image and no hit margins.
#include <cstdint>

#include "engine/media/gui_image.h"

inline GuiImageDesc PictureDesc(const char* image, std::int32_t left, std::int32_t right,
                                std::int32_t top, std::int32_t bottom, float x, float y) {
    GuiImageDesc desc;
    desc.x = x;
    desc.y = y;
    desc.imageId = image;
    desc.left = left;
    desc.right = right;
    desc.top = top;
    desc.bottom = bottom;
    return desc;
}
