// The 2D render device over SDL_Renderer: textures, sprite draws in the
// geometry of the sprite interface the game was drawn with, and the device
// states the frame loop recovers from.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "engine/backend/image.h"
#include "engine/backend/sdl_internal.h"
#include "engine/backend/system.h"
#include "engine/backend/video.h"

namespace backend {

namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

bool IsSolid(const std::uint32_t* pixels, std::size_t count) {
    std::uint32_t alphas = 0xFF000000u;
    for (std::size_t i = 0; i < count; ++i) {
        alphas &= pixels[i];
    }
    return alphas == 0xFF000000u;
}

// The format of a picture without a transparent pixel on the software
// renderer: that of the window's surface, which has no alpha, so drawing it
// there is a plain copy rather than a conversion of every pixel. Its bytes lie
// as those of ARGB8888 do.
constexpr Uint32 kOpaqueFormat = SDL_PIXELFORMAT_RGB888;

// `count` pixels of `in` times the colour (red, green, blue), each channel as
// SDL's own modulation makes it: value x factor / 255, rounded down. The
// fourth byte is kept. Worked in blocks of 16 bytes, which the compiler turns
// into vector instructions.
void ModulatePixels(const std::uint32_t* in, std::uint32_t* out, std::size_t count, Uint8 red,
                    Uint8 green, Uint8 blue) {
    constexpr std::size_t kBlock = 16;
    // Which channel each byte of a pixel word holds in memory: the word's
    // bits 0-7 are blue, 8-15 green, 16-23 red and 24-31 alpha.
    const std::uint32_t channelOfByte = 0x03020100u;
    std::uint8_t channels[4];
    std::memcpy(channels, &channelOfByte, 4);
    const std::uint16_t byChannel[4] = {blue, green, red, 255};
    std::uint16_t factors[kBlock];
    for (std::size_t k = 0; k < kBlock; ++k) {
        factors[k] = byChannel[channels[k % 4]];
    }
    const auto* from = reinterpret_cast<const std::uint8_t*>(in);
    auto* to = reinterpret_cast<std::uint8_t*>(out);
    const std::size_t bytes = count * 4;
    // x / 255 rounded down is (x + 1 + x / 256) / 256 for any x up to 255 x 255.
    const auto scaled = [](std::uint8_t value, std::uint16_t factor) {
        const auto product = static_cast<std::uint16_t>(value * factor);
        return static_cast<std::uint8_t>((product + 1 + (product >> 8)) >> 8);
    };
    std::size_t i = 0;
    for (; i + kBlock <= bytes; i += kBlock) {
        std::uint8_t block[kBlock];
        std::memcpy(block, from + i, kBlock);
        for (std::size_t k = 0; k < kBlock; ++k) {
            block[k] = scaled(block[k], factors[k]);
        }
        std::memcpy(to + i, block, kBlock);
    }
    for (; i < bytes; ++i) {
        to[i] = scaled(from[i], factors[i % 4]);
    }
}

void SetDrawColour(SDL_Renderer* renderer, std::uint32_t argb) {
    SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                           static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24));
}

class CSdlTexture : public ITexture {
public:
    // Once the device's renderer is gone SDL has freed its textures with it,
    // and the texture must not be destroyed a second time.
    // `solid`: no pixel has an alpha below 255.
    CSdlTexture(SDL_Texture* texture, int width, int height, bool solid,
                std::weak_ptr<SDL_Renderer> renderer)
        : m_texture(texture),
          m_width(width),
          m_height(height),
          m_solid(solid),
          m_renderer(std::move(renderer)) {}

    ~CSdlTexture() override {
        if (!m_renderer.expired()) {
            SDL_DestroyTexture(m_texture);
            if (m_opaque != nullptr) {
                SDL_DestroyTexture(m_opaque);
            }
        }
    }

    CSdlTexture(const CSdlTexture&) = delete;
    CSdlTexture& operator=(const CSdlTexture&) = delete;

    int Width() const override { return m_width; }
    int Height() const override { return m_height; }

    SDL_Texture* Handle() const { return m_texture; }
    bool Solid() const { return m_solid; }
    bool BelongsTo(const std::shared_ptr<SDL_Renderer>& renderer) const {
        return m_renderer.lock() == renderer;
    }

    // Additive draws add the texel colour in full, whatever its alpha. SDL's
    // ADD weighs the colour by the alpha, so they draw from a copy whose
    // alpha is 255 everywhere, made on the first additive draw. Null when the
    // renderer cannot make one; the picture itself then stands in.
    SDL_Texture* OpaqueCopy(SDL_Renderer* renderer) const {
        if (m_solid) {
            return m_texture;  // already its own opaque copy
        }
        if (!m_opaqueTried) {
            m_opaqueTried = true;
            m_opaque = MakeOpaqueCopy(renderer);
        }
        return m_opaque;
    }

private:
    // The pixels are read back through a render target: the texture keeps no
    // copy of them in memory.
    SDL_Texture* MakeOpaqueCopy(SDL_Renderer* renderer) const {
        SDL_Texture* target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                SDL_TEXTUREACCESS_TARGET, m_width, m_height);
        if (target == nullptr) {
            return nullptr;
        }
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(m_width) *
                                          static_cast<std::size_t>(m_height));
        SDL_Texture* previous = SDL_GetRenderTarget(renderer);
        bool read = false;
        if (SDL_SetRenderTarget(renderer, target) == 0) {
            SDL_SetTextureBlendMode(m_texture, SDL_BLENDMODE_NONE);
            SDL_SetTextureColorMod(m_texture, 255, 255, 255);
            SDL_SetTextureAlphaMod(m_texture, 255);
            read = SDL_RenderCopy(renderer, m_texture, nullptr, nullptr) == 0 &&
                   SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                                        m_width * 4) == 0;
            SDL_SetRenderTarget(renderer, previous);
        }
        SDL_DestroyTexture(target);
        if (!read) {
            return nullptr;
        }
        for (std::uint32_t& pixel : pixels) {
            pixel |= 0xFF000000u;
        }
        SDL_Texture* opaque = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                SDL_TEXTUREACCESS_STATIC, m_width, m_height);
        if (opaque == nullptr) {
            return nullptr;
        }
        if (SDL_UpdateTexture(opaque, nullptr, pixels.data(), m_width * 4) != 0) {
            SDL_DestroyTexture(opaque);
            return nullptr;
        }
        SDL_SetTextureBlendMode(opaque, SDL_BLENDMODE_ADD);
        SDL_SetTextureScaleMode(opaque, SDL_ScaleModeLinear);
        return opaque;
    }

    SDL_Texture* m_texture;
    int m_width;
    int m_height;
    bool m_solid;
    std::weak_ptr<SDL_Renderer> m_renderer;
    mutable SDL_Texture* m_opaque = nullptr;
    mutable bool m_opaqueTried = false;
};

// One renderer call of a frame as the device made it, with the texture
// state it set just before.
struct RecordedCall {
    enum class Kind { Clear, Fill, Copy };
    Kind kind = Kind::Copy;
    std::uint32_t argb = 0;  // clear and fill
    SDL_Rect area{};         // fill
    SDL_Texture* texture = nullptr;
    SDL_Rect source{};
    SDL_FRect destination{};
    double angle = 0.0;
    SDL_FPoint centre{};
    SDL_RendererFlip flip = SDL_FLIP_NONE;
    Uint8 red = 255;
    Uint8 green = 255;
    Uint8 blue = 255;
    Uint8 alpha = 255;
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
};

class CSdlRenderDevice : public IRenderDevice {
public:
    CSdlRenderDevice(SDL_Window* window, SDL_Renderer* renderer)
        : m_window(window),
          m_renderer(renderer, SDL_DestroyRenderer),
          m_resetsSeen(sdl::RenderTargetsResetCount()),
          m_inMemory(RendererName() == "software") {
        ReadOutputSize();
        // SDL's vsync hint, when set, holds the choice over what the game
        // asks: a benchmark sets it off so that no present waits for a
        // refresh.
        const char* hint = SDL_GetHint(SDL_HINT_RENDER_VSYNC);
        if (hint != nullptr && *hint != '\0') {
            m_vsyncHint = SDL_GetHintBoolean(SDL_HINT_RENDER_VSYNC, SDL_TRUE) == SDL_TRUE;
        }
    }

    std::unique_ptr<ITexture> CreateTexture(int width, int height,
                                            const std::uint32_t* pixels) override {
        if (pixels == nullptr) {
            return nullptr;
        }
        return CreateFilledTexture(width, height, [&](std::uint32_t* out) {
            std::memcpy(out, pixels, static_cast<std::size_t>(width) * height * 4);
            return true;
        });
    }

    std::unique_ptr<ITexture> CreateFilledTexture(
        int width, int height, const std::function<bool(std::uint32_t*)>& fill) override {
        if (width <= 0 || height <= 0 || width > MaxTextureSize() || height > MaxTextureSize()) {
            return nullptr;
        }
        // The software renderer keeps a texture as pixels in memory; a
        // streaming one of it hands out that memory itself. Other renderers
        // keep a second copy of a streaming texture, so they get a static one
        // filled from a buffer that is kept for the next picture.
        const bool inMemory = m_inMemory;
        SDL_Texture* texture = SDL_CreateTexture(
            m_renderer.get(), SDL_PIXELFORMAT_ARGB8888,
            inMemory ? SDL_TEXTUREACCESS_STREAMING : SDL_TEXTUREACCESS_STATIC, width, height);
        if (texture == nullptr) {
            return nullptr;
        }
        const std::size_t count =
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        bool filled = false;
        bool solid = false;
        void* locked = nullptr;
        int pitch = 0;
        if (inMemory && SDL_LockTexture(texture, nullptr, &locked, &pitch) == 0) {
            auto* words = static_cast<std::uint32_t*>(locked);
            filled = pitch == width * 4 && fill(words);
            solid = filled && IsSolid(words, count);
            SDL_UnlockTexture(texture);
        } else if (!inMemory) {
            m_fillBuffer.resize(std::max(m_fillBuffer.size(), count));
            filled = fill(m_fillBuffer.data()) &&
                     SDL_UpdateTexture(texture, nullptr, m_fillBuffer.data(), width * 4) == 0;
            solid = filled && IsSolid(m_fillBuffer.data(), count);
        }
        if (!filled) {
            SDL_DestroyTexture(texture);
            return nullptr;
        }
        if (solid && inMemory) {
            if (SDL_Texture* opaque = CopyInOpaqueFormat(texture, width, height)) {
                SDL_DestroyTexture(texture);
                texture = opaque;
            }
        }
        SDL_SetTextureBlendMode(texture, solid ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
        // The sprite filtered linearly; scaled pictures look as they were drawn.
        SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
        return std::make_unique<CSdlTexture>(texture, width, height, solid, m_renderer);
    }

    void Clear(std::uint32_t argb) override {
        if (m_recording) {
            m_recorded.push_back({.kind = RecordedCall::Kind::Clear, .argb = argb});
        }
        // Held back until something else touches the target: a first draw
        // that covers all of it with opaque pixels makes the clear needless.
        m_pendingClear = argb;
    }

    bool BeginScene() override { return true; }

    void EndScene() override {}

    bool Present() override {
        FlushClear();
        SDL_RenderPresent(m_renderer.get());
        // A fade's frames all modulate; once one frame has not, the scratch
        // texture's megabytes go back until the next fade.
        if (m_scratch != nullptr && !m_scratchUsed) {
            SDL_DestroyTexture(m_scratch);
            m_scratch = nullptr;
            m_scratchWidth = 0;
            m_scratchHeight = 0;
            ReturnFreeMemory();
        }
        m_scratchUsed = false;
        return Status() == DeviceStatus::Ok;
    }

    void SetVSync(bool on) override {
        on = m_vsyncHint.value_or(on);
        // Asked before every present, so only a change reaches the driver. A
        // refused change leaves the state as SDL has it and is tried again.
        if (on != m_vsync && SDL_RenderSetVSync(m_renderer.get(), on ? 1 : 0) == 0) {
            m_vsync = on;
        }
    }

    DrawResult Draw(const SpriteDraw& draw) override {
        const auto* texture = dynamic_cast<const CSdlTexture*>(draw.texture);
        if (texture == nullptr || !texture->BelongsTo(m_renderer)) {
            return DrawResult::InvalidCall;
        }
        const int width = texture->Width();
        const int height = texture->Height();
        Rect source{0, 0, width, height};
        if (draw.source != nullptr) {
            source = *draw.source;
            if (source.left < 0 || source.top < 0 || source.left > source.right ||
                source.left > width || source.top > source.bottom || source.top > height) {
                return DrawResult::InvalidCall;
            }
            // SDL would clip the rectangle but still stretch what is left over
            // the whole destination; clipping here shrinks the picture instead.
            source.right = std::min(source.right, width);
            source.bottom = std::min(source.bottom, height);
        }
        const int sourceWidth = source.right - source.left;
        const int sourceHeight = source.bottom - source.top;
        if (sourceWidth == 0 || sourceHeight == 0 || draw.scale.x == 0.0f || draw.scale.y == 0.0f) {
            return DrawResult::Ok;
        }

        // Scaled about the top-left corner: a negative scale mirrors the
        // picture, which then lies to the left of (or above) the translation.
        const float drawnWidth = static_cast<float>(sourceWidth) * std::fabs(draw.scale.x);
        const float drawnHeight = static_cast<float>(sourceHeight) * std::fabs(draw.scale.y);
        const float shiftX = draw.scale.x < 0.0f ? drawnWidth : 0.0f;
        const float shiftY = draw.scale.y < 0.0f ? drawnHeight : 0.0f;
        const SDL_FRect destination{draw.translation.x - shiftX, draw.translation.y - shiftY,
                                    drawnWidth, drawnHeight};
        // The centre is relative to the translation point; SDL wants it
        // relative to the destination's corner.
        const SDL_FPoint centre{draw.centre.x + shiftX, draw.centre.y + shiftY};
        int flip = SDL_FLIP_NONE;
        if (draw.scale.x < 0.0f) {
            flip |= SDL_FLIP_HORIZONTAL;
        }
        if (draw.scale.y < 0.0f) {
            flip |= SDL_FLIP_VERTICAL;
        }
        const SDL_Rect sourceRect{source.left, source.top, sourceWidth, sourceHeight};

        const std::uint32_t colour = draw.colour;
        SDL_Texture* handle = texture->Handle();
        Uint8 alpha = static_cast<Uint8>(colour >> 24);
        // A picture with no transparent pixel drawn at full alpha covers what
        // lies below it; blending it would only cost time.
        SDL_BlendMode blend =
            texture->Solid() && alpha == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND;
        const bool hidesClear = blend == SDL_BLENDMODE_NONE && draw.blend != BlendMode::Additive &&
                                draw.rotation == 0.0f && Covers(destination);
        if (!hidesClear) {
            FlushClear();
        }
        if (draw.blend == BlendMode::Additive) {
            // Source one, destination one: the colour is added in full and
            // neither the texel's alpha nor the draw colour's plays a part.
            if (SDL_Texture* opaque = texture->OpaqueCopy(m_renderer.get())) {
                handle = opaque;
            }
            alpha = 255;
            blend = SDL_BLENDMODE_ADD;
        }
        RecordedCall call{.texture = handle,
                          .source = sourceRect,
                          .destination = destination,
                          .angle = static_cast<double>(draw.rotation) * kDegreesPerRadian,
                          .centre = centre,
                          .flip = static_cast<SDL_RendererFlip>(flip),
                          .red = static_cast<Uint8>(colour >> 16),
                          .green = static_cast<Uint8>(colour >> 8),
                          .blue = static_cast<Uint8>(colour),
                          .alpha = alpha,
                          .blend = blend};
        if (m_recording) {
            m_recorded.push_back(call);
        }
        bool copied = false;
        if (ModulatesInMemory(*texture, call)) {
            if (std::optional<RecordedCall> modulated = ModulateToScratch(call)) {
                copied = Copy(*modulated);
            }
        }
        if (!copied) {
            copied = Copy(call);
        }
        if (!copied) {
            // Nothing covered the target after all.
            FlushClear();
            return DrawResult::InvalidCall;
        }
        m_pendingClear.reset();
        return DrawResult::Ok;
    }

    void FillRect(const Rect& rect, std::uint32_t argb) override {
        if (rect.right <= rect.left || rect.bottom <= rect.top) {
            return;
        }
        FlushClear();
        // A fill replaces the pixels, as a clear of that rectangle would.
        SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_NONE);
        SetDrawColour(m_renderer.get(), argb);
        const SDL_Rect area{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
        if (m_recording) {
            m_recorded.push_back({.kind = RecordedCall::Kind::Fill, .argb = argb, .area = area});
        }
        SDL_RenderFillRect(m_renderer.get(), &area);
    }

    void RecordDraws(bool on) override {
        m_recording = on;
        if (on) {
            m_recorded.clear();
        }
    }

    std::size_t RecordedDrawCount() const override { return m_recorded.size(); }

    void ReplayRecordedDraws() override {
        FlushClear();
        SDL_Renderer* renderer = m_renderer.get();
        for (const RecordedCall& call : m_recorded) {
            switch (call.kind) {
                case RecordedCall::Kind::Clear:
                    SetDrawColour(renderer, call.argb);
                    SDL_RenderClear(renderer);
                    break;
                case RecordedCall::Kind::Fill:
                    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
                    SetDrawColour(renderer, call.argb);
                    SDL_RenderFillRect(renderer, &call.area);
                    break;
                case RecordedCall::Kind::Copy:
                    Copy(call);
                    break;
            }
        }
    }

    int BackBufferWidth() const override { return m_width; }
    int BackBufferHeight() const override { return m_height; }

    DeviceStatus Status() override {
        if (m_simulated != DeviceStatus::Ok) {
            return m_simulated;
        }
        if (sdl::RenderTargetsResetCount() != m_resetsSeen) {
            return DeviceStatus::NeedsReset;
        }
        return DeviceStatus::Ok;
    }

    bool Reset() override {
        if (m_simulated == DeviceStatus::Lost) {
            return false;
        }
        if (m_failNextReset) {
            m_failNextReset = false;
            return false;
        }
        FlushClear();
        m_simulated = DeviceStatus::Ok;
        m_resetsSeen = sdl::RenderTargetsResetCount();
        SDL_RenderSetViewport(m_renderer.get(), nullptr);
        SDL_RenderSetClipRect(m_renderer.get(), nullptr);
        ReadOutputSize();
        return true;
    }

    bool ReadPixels(std::vector<std::uint32_t>& out) override {
        FlushClear();
        int width = 0;
        int height = 0;
        if (SDL_GetRendererOutputSize(m_renderer.get(), &width, &height) != 0 || width <= 0 ||
            height <= 0) {
            out.clear();
            return false;
        }
        out.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        if (SDL_RenderReadPixels(m_renderer.get(), nullptr, SDL_PIXELFORMAT_ARGB8888, out.data(),
                                 width * 4) != 0) {
            out.clear();
            return false;
        }
        return true;
    }

    void SimulateStatus(DeviceStatus status, bool failNextReset) override {
        m_simulated = status;
        m_failNextReset = failNextReset;
    }

    std::string RendererName() const override {
        SDL_RendererInfo info{};
        if (SDL_GetRendererInfo(m_renderer.get(), &info) != 0 || info.name == nullptr) {
            return "";
        }
        return info.name;
    }

    int MaxTextureSize() const override {
        // The software renderer names no limit; its textures live in memory,
        // so it gets the limit of a hardware device, and no device takes more.
        SDL_RendererInfo info{};
        int largest = kLargestTexture;
        if (SDL_GetRendererInfo(m_renderer.get(), &info) == 0) {
            const int named = std::min(info.max_texture_width, info.max_texture_height);
            if (named > 0) {
                largest = std::min(largest, named);
            }
        }
        return largest;
    }

private:
    void FlushClear() {
        if (m_pendingClear) {
            SetDrawColour(m_renderer.get(), *m_pendingClear);
            SDL_RenderClear(m_renderer.get());
            m_pendingClear.reset();
        }
    }

    // The destination spans the whole target, as large as it is now.
    bool Covers(const SDL_FRect& destination) const {
        int width = 0;
        int height = 0;
        if (SDL_GetRendererOutputSize(m_renderer.get(), &width, &height) != 0) {
            return false;
        }
        return destination.x <= 0.0f && destination.y <= 0.0f &&
               destination.x + destination.w >= static_cast<float>(width) &&
               destination.y + destination.h >= static_cast<float>(height);
    }

    // A copy of a streaming picture in the opaque format; null when the
    // renderer refuses one, and the picture stays as it is.
    SDL_Texture* CopyInOpaqueFormat(SDL_Texture* texture, int width, int height) {
        SDL_Texture* opaque = SDL_CreateTexture(m_renderer.get(), kOpaqueFormat,
                                                SDL_TEXTUREACCESS_STREAMING, width, height);
        if (opaque == nullptr) {
            return nullptr;
        }
        void* from = nullptr;
        void* to = nullptr;
        int fromPitch = 0;
        int toPitch = 0;
        bool copied = false;
        if (SDL_LockTexture(texture, nullptr, &from, &fromPitch) == 0) {
            if (SDL_LockTexture(opaque, nullptr, &to, &toPitch) == 0) {
                copied = fromPitch == width * 4 && toPitch == width * 4;
                if (copied) {
                    std::memcpy(to, from, static_cast<std::size_t>(width) * height * 4);
                }
                SDL_UnlockTexture(opaque);
            }
            SDL_UnlockTexture(texture);
        }
        if (!copied) {
            SDL_DestroyTexture(opaque);
            return nullptr;
        }
        return opaque;
    }

    // SDL's software renderer modulates pixel by pixel in plain code, the
    // dearest part of a fade. A picture without a transparent pixel drawn
    // unscaled and unturned is modulated here instead, in its memory, into a
    // scratch texture that is then copied as it is: the same pixels, in a
    // third of the time.
    bool ModulatesInMemory(const CSdlTexture& texture, const RecordedCall& call) const {
        const bool tinted = call.red != 255 || call.green != 255 || call.blue != 255;
        return m_inMemory && tinted && texture.Solid() && call.blend == SDL_BLENDMODE_NONE &&
               call.angle == 0.0 && call.flip == SDL_FLIP_NONE &&
               call.destination.w == static_cast<float>(call.source.w) &&
               call.destination.h == static_cast<float>(call.source.h);
    }

    // The call redone on the scratch texture, which holds the source
    // rectangle already modulated; nothing when the memory is out of reach.
    std::optional<RecordedCall> ModulateToScratch(const RecordedCall& call) {
        const int width = call.source.w;
        const int height = call.source.h;
        if (width > m_scratchWidth || height > m_scratchHeight) {
            if (m_scratch != nullptr) {
                SDL_DestroyTexture(m_scratch);
            }
            m_scratchWidth = std::max(width, m_scratchWidth);
            m_scratchHeight = std::max(height, m_scratchHeight);
            m_scratch =
                SDL_CreateTexture(m_renderer.get(), kOpaqueFormat, SDL_TEXTUREACCESS_STREAMING,
                                  m_scratchWidth, m_scratchHeight);
            if (m_scratch == nullptr) {
                m_scratchWidth = 0;
                m_scratchHeight = 0;
                return std::nullopt;
            }
            SDL_SetTextureBlendMode(m_scratch, SDL_BLENDMODE_NONE);
        }
        // A streaming texture of the software renderer is its pixels: locked,
        // it hands out the memory it draws from.
        void* from = nullptr;
        void* to = nullptr;
        int fromPitch = 0;
        int toPitch = 0;
        if (SDL_LockTexture(call.texture, &call.source, &from, &fromPitch) != 0) {
            return std::nullopt;
        }
        const SDL_Rect area{0, 0, width, height};
        if (SDL_LockTexture(m_scratch, &area, &to, &toPitch) != 0) {
            SDL_UnlockTexture(call.texture);
            return std::nullopt;
        }
        for (int row = 0; row < height; ++row) {
            ModulatePixels(
                reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(from) +
                                                       static_cast<std::ptrdiff_t>(row) *
                                                           fromPitch),
                reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(to) +
                                                 static_cast<std::ptrdiff_t>(row) * toPitch),
                static_cast<std::size_t>(width), call.red, call.green, call.blue);
        }
        SDL_UnlockTexture(m_scratch);
        SDL_UnlockTexture(call.texture);
        m_scratchUsed = true;
        RecordedCall modulated = call;
        modulated.texture = m_scratch;
        modulated.source = area;
        modulated.red = 255;
        modulated.green = 255;
        modulated.blue = 255;
        return modulated;
    }

    bool Copy(const RecordedCall& call) {
        SDL_SetTextureColorMod(call.texture, call.red, call.green, call.blue);
        SDL_SetTextureAlphaMod(call.texture, call.alpha);
        SDL_SetTextureBlendMode(call.texture, call.blend);
        return SDL_RenderCopyExF(m_renderer.get(), call.texture, &call.source, &call.destination,
                                 call.angle, &call.centre, call.flip) == 0;
    }

    void ReadOutputSize() {
        if (SDL_GetRendererOutputSize(m_renderer.get(), &m_width, &m_height) != 0) {
            SDL_GetWindowSize(m_window, &m_width, &m_height);
        }
    }

    SDL_Window* m_window;
    std::shared_ptr<SDL_Renderer> m_renderer;
    int m_width = 0;
    int m_height = 0;
    DeviceStatus m_simulated = DeviceStatus::Ok;
    bool m_failNextReset = false;
    std::uint32_t m_resetsSeen;
    bool m_vsync = false;  // what SDL was told last and accepted
    std::optional<bool> m_vsyncHint;
    bool m_recording = false;
    std::vector<RecordedCall> m_recorded;
    bool m_inMemory;
    std::vector<std::uint32_t> m_fillBuffer;
    // Made on the first modulated draw that needs it, grown to the largest
    // one, kept while each frame uses it; the renderer frees it with itself.
    SDL_Texture* m_scratch = nullptr;
    int m_scratchWidth = 0;
    int m_scratchHeight = 0;
    bool m_scratchUsed = false;
    // The colour of a clear not yet made.
    std::optional<std::uint32_t> m_pendingClear;
};

}  // namespace

namespace sdl {

std::unique_ptr<IRenderDevice> CreateRenderDevice(SDL_Window* window) {
    SDL_Renderer* renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) {
        renderer =
            SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_PRESENTVSYNC);
    }
    if (renderer == nullptr) {
        return nullptr;
    }
    auto device = std::make_unique<CSdlRenderDevice>(window, renderer);
    // The creation flag alone does not make every renderer wait: the
    // software one paces its presents only once vsync is set on it.
    device->SetVSync(true);
    return device;
}

}  // namespace sdl

}  // namespace backend
