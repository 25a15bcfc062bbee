// Loading pictures into textures: colour key, alpha companion, log lines.
#include "engine/media/texture_loader.h"

#include <memory>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"

namespace {

enum class AlphaOutcome { None, Merged, WrongSize };

// One candidate for the alpha picture of a `width` x `height` picture. A file
// whose header declares another size cannot be merged, and its pixels, which
// a file may claim by the gigabyte, are not decoded.
AlphaOutcome TryAlphaFile(const std::string& path, int width, int height,
                          backend::DecodedImage& alpha) {
    int declaredWidth = 0;
    int declaredHeight = 0;
    if (backend::ReadPictureSize(path, declaredWidth, declaredHeight) &&
        (declaredWidth != width || declaredHeight != height)) {
        return AlphaOutcome::WrongSize;
    }
    if (backend::DecodeImageFile(path, alpha) != backend::DecodeResult::Ok) {
        return AlphaOutcome::None;
    }
    return alpha.width == width && alpha.height == height ? AlphaOutcome::Merged
                                                          : AlphaOutcome::WrongSize;
}

// Finds the explicit alpha picture, or the companion named after the picture
// (".tga" first, then ".png"). A companion that is missing or unreadable is
// normal and silent. `alpha` holds the picture to merge when Merged.
AlphaOutcome FindAlphaPicture(const ImageRecord& record, int width, int height,
                              backend::DecodedImage& alpha) {
    if (!record.alpha.empty()) {
        return TryAlphaFile(record.alpha, width, height, alpha);
    }
    const std::string base = AlphaCompanionBase(record.path);
    const AlphaOutcome tga = TryAlphaFile(base + ".tga", width, height, alpha);
    return tga != AlphaOutcome::None ? tga : TryAlphaFile(base + ".png", width, height, alpha);
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

void ApplyColourKey(std::uint32_t* pixels, std::size_t count, std::uint32_t key) {
    for (std::size_t i = 0; i < count; ++i) {
        if (pixels[i] == key) {
            pixels[i] = 0;
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

bool MergeAlphaPicture(std::uint32_t* pixels, int width, int height,
                       const backend::DecodedImage& alpha) {
    if (width != alpha.width || height != alpha.height) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * height;
    if (alpha.pixels.size() < count) {
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
        pixels[i] = (pixels[i] & 0x00FFFFFF) | (static_cast<std::uint32_t>(value) << 24);
    }
    return true;
}

HResult CResourceManager::LoadTexture(backend::IRenderDevice* device, ImageRecord& record) {
    if (record.texture != nullptr) {
        return RESULT_FAIL;
    }
    const auto failed = [&record](HResult code, std::int32_t format) {
        HtmlLog().Write("Red", "Loading texture: (%s) failed (code error: %u) (%i)",
                        record.path.c_str(), static_cast<std::uint32_t>(code), format);
        return code;
    };
    if (device == nullptr) {
        return failed(RESULT_FAIL, record.info.format);
    }
    // A file may claim a size no texture can have; it is refused before its
    // pixels are decoded, which for such a size would take gigabytes.
    const int named = device->MaxTextureSize();
    backend::PictureFile picture;
    const backend::DecodeResult opened =
        picture.Open(record.path, false, named > 0 ? named : backend::kLargestTexture);
    if (opened == backend::DecodeResult::TooLarge) {
        return failed(RESULT_OUT_OF_MEMORY, record.info.format);
    }
    if (opened != backend::DecodeResult::Ok) {
        return failed(RESULT_INVALID_DATA, record.info.format);
    }
    const std::int32_t format = ImageFormatNumber(picture.Description());
    const int width = picture.Width();
    const int height = picture.Height();
    backend::DecodedImage alphaPicture;
    const AlphaOutcome alpha = FindAlphaPicture(record, width, height, alphaPicture);
    // The pixels are decoded straight into the texture. The key comes first:
    // the merge then overwrites every alpha byte, keyed pixels included.
    bool decoded = true;
    std::unique_ptr<backend::ITexture> texture =
        device->CreateFilledTexture(width, height, [&](std::uint32_t* pixels) {
            decoded = picture.ReadArgb(pixels);
            if (!decoded) {
                return false;
            }
            ApplyColourKey(pixels, static_cast<std::size_t>(width) * height, record.colourKey);
            if (alpha == AlphaOutcome::Merged) {
                MergeAlphaPicture(pixels, width, height, alphaPicture);
            }
            return true;
        });
    if (!texture) {
        return failed(decoded ? RESULT_OUT_OF_MEMORY : RESULT_INVALID_DATA, format);
    }
    record.texture = texture.release();
    record.info.width = width;
    record.info.height = height;
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
