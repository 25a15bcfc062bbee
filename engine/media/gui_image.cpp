#include "engine/media/gui_image.h"

#include <utility>

#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"
#include "engine/platform/input_devices.h"

namespace {

// A rectangle of all zeros stands for the whole picture.
const backend::Rect* SourceOrWhole(const backend::Rect& rect) {
    return (rect.right != 0 || rect.bottom != 0) ? &rect : nullptr;
}

std::int32_t ImageIndex(const std::string& id) {
    return ResourceManager::Instance().GetIndex(RESOURCE_IMAGE, id);
}

}  // namespace

bool GuiAreaContains(float cursorX, float cursorY, float left, float right, float top, float bottom,
                     float scaleX, float scaleY) {
    if (scaleX < 0.0f) {
        std::swap(left, right);
    }
    if (scaleY < 0.0f) {
        std::swap(top, bottom);
    }
    return cursorX >= left && cursorX <= right && cursorY >= top && cursorY <= bottom;
}

void CGuiImage::Create(const GuiImageDesc& desc) {
    *this = CGuiImage();
    x = desc.x;
    y = desc.y;
    scaleX = desc.scaleX;
    scaleY = desc.scaleY;
    image = desc.imageId.empty() ? -1 : ImageIndex(desc.imageId);
    source = {desc.left, desc.top, desc.right, desc.bottom};
    hoverImage = desc.hoverImageId.empty() ? -1 : ImageIndex(desc.hoverImageId);
    hoverX = desc.hoverX;
    hoverY = desc.hoverY;
    hoverSource = {desc.hoverLeft, desc.hoverTop, desc.hoverRight, desc.hoverBottom};
    marginLeft = desc.marginLeft;
    marginTop = desc.marginTop;
    marginRight = desc.marginRight;
    marginBottom = desc.marginBottom;
}

void CGuiImage::UpdateHover(const InputState& input, Vec2 screenScale) {
    const float left = (offsetX + hoverX + static_cast<float>(marginLeft)) * screenScale.x;
    const float right =
        (offsetX + hoverX + scaleX * static_cast<float>(hoverSource.right - hoverSource.left) +
         static_cast<float>(marginRight)) *
        screenScale.x;
    const float top = (offsetY + hoverY + static_cast<float>(marginTop)) * screenScale.y;
    const float bottom =
        (offsetY + hoverY + scaleY * static_cast<float>(hoverSource.bottom - hoverSource.top) +
         static_cast<float>(marginBottom)) *
        screenScale.y;
    hovered =
        GuiAreaContains(input.cursorX, input.cursorY, left, right, top, bottom, scaleX, scaleY);
}

void CGuiImage::Draw(backend::IRenderDevice* device, Vec2 screenScale, bool snap,
                     std::uint32_t colour, bool drawHover) {
    CResourceManager& resources = ResourceManager::Instance();
    const Vec2 scaling{scaleX * screenScale.x, scaleY * screenScale.y};
    const Vec2 centre{centreX, centreY};
    const auto place = [&](float px, float py) {
        Vec2 position{(offsetX + px) * screenScale.x, (offsetY + py) * screenScale.y};
        if (snap) {
            // Offsets from the layout file may be absurd; they stop at the
            // ends of the int32 range.
            position.x = static_cast<float>(TruncateToInt32(position.x));
            position.y = static_cast<float>(TruncateToInt32(position.y));
        }
        return position;
    };
    if (image != -1) {
        resources.DrawImage(image, SourceOrWhole(source), &scaling, &centre, rotation, place(x, y),
                            colour);
    }
    // The hover image shows even where the element has no image of its own.
    if (hovered && drawHover) {
        if (additiveHover) {
            resources.DrawImageAdditive(device, hoverImage, SourceOrWhole(hoverSource), &scaling,
                                        &centre, rotation, place(hoverX, hoverY), colour);
        } else {
            resources.DrawImage(hoverImage, SourceOrWhole(hoverSource), &scaling, &centre, rotation,
                                place(hoverX, hoverY), colour);
        }
    }
}
