// Two-dimensional drawing: pictures through the sprite, the colour mask, the
// letterbox bands and the image queries.
#include <cmath>

#include "engine/media/resource_manager.h"

HResult CResourceManager::DrawSprite(std::int32_t index, const backend::Rect* source,
                                     const Vec2* scaling, const Vec2* centre, float rotation,
                                     Vec2 position, std::uint32_t colour,
                                     backend::BlendMode blend) {
    // Indices come from GetIndex; anything outside the list has no picture.
    if (!IsImageIndex(index) || m_sprite == nullptr) {
        return RESULT_FAIL;
    }
    backend::SpriteDraw draw;
    draw.texture = m_images[static_cast<std::size_t>(index)].texture;
    draw.source = source;
    if (scaling != nullptr) {
        draw.scale = {scaling->x, scaling->y};
    }
    if (centre != nullptr) {
        draw.centre = {centre->x, centre->y};
    }
    draw.rotation = rotation;
    draw.translation = {position.x + m_offset.x, position.y + m_offset.y};
    draw.colour = colour & m_colourMask;
    draw.blend = blend;
    return m_sprite->Draw(draw) == backend::DrawResult::Ok ? RESULT_OK : RESULT_INVALID_CALL;
}

HResult CResourceManager::DrawImage(std::int32_t index, const backend::Rect* source,
                                    const Vec2* scaling, const Vec2* centre, float rotation,
                                    Vec2 position, std::uint32_t colour) {
    return DrawSprite(index, source, scaling, centre, rotation, position, colour,
                      backend::BlendMode::Alpha);
}

HResult CResourceManager::DrawImageAdditive(backend::IRenderDevice* /*device*/, std::int32_t index,
                                            const backend::Rect* source, const Vec2* scaling,
                                            const Vec2* centre, float rotation, Vec2 position,
                                            std::uint32_t colour) {
    // The sprite carries the blending with the draw, so nothing needs
    // restoring afterwards.
    return DrawSprite(index, source, scaling, centre, rotation, position, colour,
                      backend::BlendMode::Additive);
}

void CResourceManager::SetBrightness(float level) {
    // The level wraps in the low byte: 256 gives black.
    const std::uint32_t b = static_cast<std::uint32_t>(static_cast<std::int64_t>(level)) & 0xFF;
    m_colourMask = 0xFF000000u | (b * 0x010101u);
}

HResult CResourceManager::DrawBorderFill(backend::IRenderDevice* /*device*/, std::uint32_t colour) {
    // The tiles keep their natural size across a band and follow the picture's
    // scale along it; those beside the picture on the left and top are
    // mirrored so that the bands run on from the picture's edges.
    if (m_offset.x != 0.0f) {
        if (IsImageIndex(m_leftPanel) && IsImageIndex(m_rightPanel)) {
            const Vec2 scaling{1.0f, m_scale.y};
            const float leftWidth =
                static_cast<float>(m_images[static_cast<std::size_t>(m_leftPanel)].info.width);
            DrawImage(m_leftPanel, nullptr, &scaling, nullptr, 0.0f, {-leftWidth, 0.0f}, colour);
            DrawImage(m_rightPanel, nullptr, &scaling, nullptr, 0.0f, {1024.0f * m_scale.x, 0.0f},
                      colour);
        } else if (IsImageIndex(m_verticalPanel)) {
            const std::int32_t w = m_images[static_cast<std::size_t>(m_verticalPanel)].info.width;
            if (w > 0) {
                const int n = static_cast<int>(m_offset.x / static_cast<float>(w)) + 1;
                const Vec2 mirrored{-1.0f, m_scale.y};
                const Vec2 plain{1.0f, m_scale.y};
                for (int i = 0; i < n; ++i) {
                    const float step = static_cast<float>(w * i);
                    DrawImage(m_verticalPanel, nullptr, &mirrored, nullptr, 0.0f, {-step, 0.0f},
                              colour);
                    DrawImage(m_verticalPanel, nullptr, &plain, nullptr, 0.0f,
                              {1024.0f * m_scale.x + step, 0.0f}, colour);
                }
            }
        }
    }
    if (m_offset.y != 0.0f) {
        if (!IsImageIndex(m_horizontalPanel)) {
            return RESULT_FAIL;
        }
        const std::int32_t h = m_images[static_cast<std::size_t>(m_horizontalPanel)].info.height;
        if (h <= 0) {
            return RESULT_OK;
        }
        const int n = static_cast<int>(m_offset.y / static_cast<float>(h)) + 1;
        const Vec2 mirrored{m_scale.x, -1.0f};
        const Vec2 plain{m_scale.x, 1.0f};
        for (int i = 0; i < n; ++i) {
            const float step = static_cast<float>(h * i);
            DrawImage(m_horizontalPanel, nullptr, &mirrored, nullptr, 0.0f, {0.0f, -step}, colour);
            DrawImage(m_horizontalPanel, nullptr, &plain, nullptr, 0.0f,
                      {0.0f, 768.0f * m_scale.y + step}, colour);
        }
    }
    return RESULT_OK;
}

ImageInfo CResourceManager::GetImageInfo(const std::string& id) const {
    for (const ImageRecord& image : m_images) {
        if (image.id == id) {
            return image.info;
        }
    }
    return {};
}

ImageInfo CResourceManager::GetImageSurfaceDesc(const std::string& id) const {
    for (const ImageRecord& image : m_images) {
        if (image.id == id && image.texture != nullptr) {
            ImageInfo info;
            info.width = image.texture->Width();
            info.height = image.texture->Height();
            info.format = 21;  // every texture holds ARGB pixels
            return info;
        }
    }
    return {};
}
