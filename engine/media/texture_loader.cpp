// Loading pictures into textures: colour key, alpha companion, log lines.
#include "engine/media/texture_loader.h"

#include <memory>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"

namespace {

enum class AlphaOutcome { None, Merged, WrongSize };

// Tries the explicit alpha picture, or the companion named after the picture
// (".tga" first, then ".png"). A companion that is missing or unreadable is
// normal and silent.
AlphaOutcome ApplyAlphaPicture(const ImageRecord& record, backend::DecodedImage& picture) {
    backend::DecodedImage alpha;
    bool found = false;
    if (!record.alpha.empty()) {
        found = backend::DecodeImageFile(record.alpha, alpha) == backend::DecodeResult::Ok;
    } else {
        const std::string base = AlphaCompanionBase(record.path);
        found = backend::DecodeImageFile(base + ".tga", alpha) == backend::DecodeResult::Ok ||
                backend::DecodeImageFile(base + ".png", alpha) == backend::DecodeResult::Ok;
    }
    if (!found) {
        return AlphaOutcome::None;
    }
    return MergeAlphaPicture(picture, alpha) ? AlphaOutcome::Merged : AlphaOutcome::WrongSize;
}

}  // namespace

std::string AlphaCompanionBase(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        dot = path.size();
    }
    return path.substr(0, nameStart) + "_" + path.substr(nameStart, dot - nameStart);
}

std::int32_t ImageFormatNumber(const backend::DecodedImage& image) {
    switch (image.layout) {
        case backend::SourceLayout::Palette:
            return 41;
        case backend::SourceLayout::Grey:
            return 50;
        case backend::SourceLayout::GreyAlpha:
            return 51;
        case backend::SourceLayout::Colour:
            break;
    }
    switch (image.bitsPerPixel) {
        case 24:
            return 20;
        case 16:
            return image.hasAlpha ? 25 : 23;
        default:
            return image.hasAlpha ? 21 : 22;
    }
}

void ApplyColourKey(std::vector<std::uint32_t>& pixels, std::uint32_t key) {
    for (std::uint32_t& pixel : pixels) {
        if (pixel == key) {
            pixel = 0;
        }
    }
}

std::uint8_t AlphaFromPixel(std::uint32_t argb) {
    const std::uint32_t blue = argb & 0xFF;
    const std::uint32_t green = (argb >> 8) & 0xFF;
    const std::uint32_t red = (argb >> 16) & 0xFF;
    // Whole-number weights so that a grey level comes back exactly.
    return static_cast<std::uint8_t>((30 * blue + 59 * green + 11 * red) / 100);
}

bool MergeAlphaPicture(backend::DecodedImage& picture, const backend::DecodedImage& alpha) {
    if (picture.width != alpha.width || picture.height != alpha.height) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
    if (picture.pixels.size() < count || alpha.pixels.size() < count) {
        return false;
    }
    // A one- or two-byte alpha picture gives the last byte of its pixel as it
    // stands; a colour one the weighted sum of its colour bytes.
    const bool lastByte = alpha.layout != backend::SourceLayout::Colour;
    if (lastByte && alpha.lastBytes.size() < count) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t value = lastByte ? alpha.lastBytes[i] : AlphaFromPixel(alpha.pixels[i]);
        picture.pixels[i] =
            (picture.pixels[i] & 0x00FFFFFF) | (static_cast<std::uint32_t>(value) << 24);
    }
    return true;
}

HResult CResourceManager::LoadTexture(backend::IRenderDevice* device, ImageRecord& record) {
    if (record.texture != nullptr) {
        return RESULT_FAIL;
    }
    backend::DecodedImage picture;
    if (device == nullptr ||
        backend::DecodeImageFile(record.path, picture) != backend::DecodeResult::Ok) {
        const HResult code = device == nullptr ? RESULT_FAIL : RESULT_INVALID_DATA;
        HtmlLog().Write("Red", "Loading texture: (%s) failed (code error: %u) (%i)",
                        record.path.c_str(), static_cast<std::uint32_t>(code), record.info.format);
        return code;
    }
    ApplyColourKey(picture.pixels, record.colourKey);
    // The key comes first: the merge then overwrites every alpha byte, keyed
    // pixels included.
    const AlphaOutcome alpha = ApplyAlphaPicture(record, picture);

    std::unique_ptr<backend::ITexture> texture =
        device->CreateTexture(picture.width, picture.height, picture.pixels.data());
    const std::int32_t format = ImageFormatNumber(picture);
    if (!texture) {
        HtmlLog().Write("Red", "Loading texture: (%s) failed (code error: %u) (%i)",
                        record.path.c_str(), static_cast<std::uint32_t>(RESULT_OUT_OF_MEMORY),
                        format);
        return RESULT_OUT_OF_MEMORY;
    }
    record.texture = texture.release();
    record.info.width = picture.width;
    record.info.height = picture.height;
    record.info.format = format;
    HtmlLog().Write("Gray", "Loading texture: (%s) complete (%i)", record.path.c_str(),
                    record.info.format);
    if (alpha == AlphaOutcome::WrongSize) {
        HtmlLog().Write("Red", "Incorrect resolution of alpha channel");
    } else if (alpha == AlphaOutcome::Merged) {
        HtmlLog().Write("8888FF", "Loading and initializing alpha channel is completed");
    }
    return RESULT_OK;
}
