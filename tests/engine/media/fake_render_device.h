#pragma once
// A render device for tests that keeps every sprite draw it is given.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/backend/video.h"

namespace media_test {

class CFakeTexture : public backend::ITexture {
public:
    CFakeTexture(int width, int height) : m_width(width), m_height(height) {}
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }

private:
    int m_width;
    int m_height;
};

// One draw as the device saw it, with the source rectangle copied out.
struct RecordedDraw {
    const backend::ITexture* texture = nullptr;
    std::optional<backend::Rect> source;
    backend::Vec2f scale;
    backend::Vec2f centre;
    float rotation = 0.0f;
    backend::Vec2f translation;
    std::uint32_t colour = 0;
    backend::BlendMode blend = backend::BlendMode::Alpha;
};

class CFakeRenderDevice : public backend::IRenderDevice {
public:
    std::unique_ptr<backend::ITexture> CreateTexture(int width, int height,
                                                     const std::uint32_t* /*pixels*/) override {
        return std::make_unique<CFakeTexture>(width, height);
    }
    void Clear(std::uint32_t /*argb*/) override {}
    bool BeginScene() override { return true; }
    void EndScene() override {}
    bool Present() override { return true; }
    void SetVSync(bool /*on*/) override {}
    backend::DrawResult Draw(const backend::SpriteDraw& draw) override {
        if (draw.texture == nullptr) {
            return backend::DrawResult::InvalidCall;
        }
        RecordedDraw recorded;
        recorded.texture = draw.texture;
        if (draw.source != nullptr) {
            recorded.source = *draw.source;
        }
        recorded.scale = draw.scale;
        recorded.centre = draw.centre;
        recorded.rotation = draw.rotation;
        recorded.translation = draw.translation;
        recorded.colour = draw.colour;
        recorded.blend = draw.blend;
        draws.push_back(recorded);
        return backend::DrawResult::Ok;
    }
    void FillRect(const backend::Rect& /*rect*/, std::uint32_t /*argb*/) override {}
    int BackBufferWidth() const override { return 1024; }
    int BackBufferHeight() const override { return 768; }
    backend::DeviceStatus Status() override { return backend::DeviceStatus::Ok; }
    bool Reset() override { return true; }
    bool ReadPixels(std::vector<std::uint32_t>& /*out*/) override { return false; }
    void SimulateStatus(backend::DeviceStatus /*status*/, bool /*failNextReset*/) override {}
    std::string RendererName() const override { return "fake"; }
    int MaxTextureSize() const override { return maxTextureSize; }

    int maxTextureSize = 0;

    std::vector<RecordedDraw> draws;
};

}  // namespace media_test
