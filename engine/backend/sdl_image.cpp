// Picture files through SDL2_image, handed on as 32-bit ARGB words.
#include <SDL.h>
#include <SDL_image.h>
#include <sys/stat.h>

#include <cstring>

#include "engine/backend/image.h"

namespace backend {

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

DecodeResult DecodeImageFile(const std::string& path, DecodedImage& out) {
    out = DecodedImage{};
    // A folder opens for reading on Linux; only a regular file is a picture.
    if (!IsRegularFile(path)) {
        return DecodeResult::Missing;
    }
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) {
        return DecodeResult::Invalid;
    }
    const SDL_PixelFormat* format = loaded->format;
    const bool keyed = SDL_HasColorKey(loaded) == SDL_TRUE;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    if (argb == nullptr) {
        SDL_FreeSurface(loaded);
        return DecodeResult::Invalid;
    }
    out.width = argb->w;
    out.height = argb->h;
    out.bitsPerPixel = format->BitsPerPixel;
    // A palette with a transparent entry carries alpha as much as an alpha channel.
    out.hasAlpha = format->Amask != 0 || keyed;
    SDL_FreeSurface(loaded);

    const std::size_t width = static_cast<std::size_t>(argb->w);
    out.pixels.resize(width * static_cast<std::size_t>(argb->h));
    if (SDL_LockSurface(argb) != 0) {
        SDL_FreeSurface(argb);
        out = DecodedImage{};
        return DecodeResult::Invalid;
    }
    const auto* source = static_cast<const std::uint8_t*>(argb->pixels);
    for (int y = 0; y < argb->h; ++y) {
        std::memcpy(&out.pixels[static_cast<std::size_t>(y) * width],
                    source + static_cast<std::ptrdiff_t>(y) * argb->pitch,
                    width * sizeof(std::uint32_t));
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return DecodeResult::Ok;
}

bool SavePng(const std::string& path, const DecodedImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        return false;
    }
    // SDL only reads through the pointer; the cast is for its C signature.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(image.pixels.data()), image.width, image.height, 32,
        image.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        return false;
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return saved;
}

}  // namespace backend
