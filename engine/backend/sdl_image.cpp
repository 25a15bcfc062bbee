// Picture files through SDL2_image, handed on as 32-bit ARGB words.
#include <SDL.h>
#include <SDL_image.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <fstream>

#include "engine/backend/image.h"

namespace backend {

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool HasTgaExtension(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string extension = path.substr(path.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".tga";
}

// The layout the file's header names. SDL hands grey and palette pictures over
// alike as palette surfaces, and grey-and-alpha ones as 32-bit colour, so only
// the header tells them apart. TGA files have no signature; SDL, too, knows
// them by their extension.
SourceLayout HeaderLayout(const std::string& path) {
    std::array<unsigned char, 26> header{};
    std::ifstream in(path, std::ios::binary);
    // A small TGA is shorter than a PNG header; bytes not read stay 0.
    in.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    static constexpr unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::equal(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE), header.begin())) {
        switch (header[25]) {  // the colour type of the IHDR chunk
            case 0:
                return SourceLayout::Grey;
            case 3:
                return SourceLayout::Palette;
            case 4:
                return SourceLayout::GreyAlpha;
            default:
                return SourceLayout::Colour;
        }
    }
    if (HasTgaExtension(path)) {
        switch (header[2] & 0x07) {  // the image type, run-length bit cleared
            case 1:
                return SourceLayout::Palette;
            case 3:
                return SourceLayout::Grey;
            default:
                return SourceLayout::Colour;
        }
    }
    return SourceLayout::Colour;
}

// The palette index of every pixel of a palette surface of 1 to 8 bits.
std::vector<std::uint8_t> PaletteIndices(SDL_Surface* surface) {
    std::vector<std::uint8_t> indices;
    const int bits = surface->format->BitsPerPixel;
    if (bits < 1 || bits > 8 || SDL_LockSurface(surface) != 0) {
        return indices;
    }
    const int perByte = 8 / bits;
    const bool lowBitsFirst = SDL_PIXELORDER(surface->format->format) == SDL_BITMAPORDER_4321;
    const unsigned mask = (1u << bits) - 1u;
    indices.reserve(static_cast<std::size_t>(surface->w) * static_cast<std::size_t>(surface->h));
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(surface->pixels) +
                          static_cast<std::ptrdiff_t>(y) * surface->pitch;
        for (int x = 0; x < surface->w; ++x) {
            const int slot = x % perByte;
            const int shift = (lowBitsFirst ? slot : perByte - 1 - slot) * bits;
            indices.push_back(static_cast<std::uint8_t>((row[x / perByte] >> shift) & mask));
        }
    }
    SDL_UnlockSurface(surface);
    return indices;
}

// The layout of a one- or two-byte file pixel, and with `wantBytes` its last
// bytes, taken from the loaded surface (palette and grey). Those of a grey and
// alpha file come from the converted pixels.
void KeepLayout(SDL_Surface* loaded, SourceLayout header, bool wantBytes, DecodedImage& out) {
    const SDL_Palette* palette = loaded->format->palette;
    if (palette != nullptr && loaded->format->BitsPerPixel <= 8) {
        out.layout = header == SourceLayout::Grey ? SourceLayout::Grey : SourceLayout::Palette;
        if (!wantBytes) {
            return;
        }
        out.lastBytes = PaletteIndices(loaded);
        if (out.layout == SourceLayout::Grey) {
            // SDL spreads the grey levels over a palette of its own.
            for (std::uint8_t& value : out.lastBytes) {
                value = value < palette->ncolors ? palette->colors[value].r : 0;
            }
        }
    } else if (header == SourceLayout::GreyAlpha && loaded->format->Amask != 0) {
        out.layout = SourceLayout::GreyAlpha;
    }
}

// Copies the rows of a 32-bit surface into `width` words a row.
void CopyRows(const SDL_Surface* surface, std::uint32_t* out) {
    const std::size_t width = static_cast<std::size_t>(surface->w);
    const auto* source = static_cast<const std::uint8_t*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y) {
        std::memcpy(out + static_cast<std::size_t>(y) * width,
                    source + static_cast<std::ptrdiff_t>(y) * surface->pitch,
                    width * sizeof(std::uint32_t));
    }
}

}  // namespace

PictureFile::~PictureFile() {
    SDL_FreeSurface(static_cast<SDL_Surface*>(m_surface));
}

DecodeResult PictureFile::Open(const std::string& path, bool lastBytes) {
    SDL_FreeSurface(static_cast<SDL_Surface*>(m_surface));
    m_surface = nullptr;
    m_description = DecodedImage{};
    // A folder opens for reading on Linux; only a regular file is a picture.
    if (!IsRegularFile(path)) {
        return DecodeResult::Missing;
    }
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) {
        return DecodeResult::Invalid;
    }
    KeepLayout(loaded, HeaderLayout(path), lastBytes, m_description);
    m_description.width = loaded->w;
    m_description.height = loaded->h;
    m_description.bitsPerPixel = loaded->format->BitsPerPixel;
    // A palette with a transparent entry carries alpha as much as an alpha channel.
    m_description.hasAlpha = loaded->format->Amask != 0 || SDL_HasColorKey(loaded) == SDL_TRUE;
    m_surface = loaded;
    return DecodeResult::Ok;
}

bool PictureFile::ReadArgb(std::uint32_t* out) const {
    auto* loaded = static_cast<SDL_Surface*>(m_surface);
    if (loaded == nullptr || out == nullptr) {
        return false;
    }
    const std::uint32_t format = loaded->format->format;
    // Palette and colour-keyed pictures go through SDL's surface conversion,
    // which turns the key into transparency; the rest convert in one pass
    // straight into `out`.
    if (SDL_ISPIXELFORMAT_INDEXED(format) || SDL_HasColorKey(loaded) == SDL_TRUE) {
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
        if (argb == nullptr || SDL_LockSurface(argb) != 0) {
            SDL_FreeSurface(argb);
            return false;
        }
        CopyRows(argb, out);
        SDL_UnlockSurface(argb);
        SDL_FreeSurface(argb);
        return true;
    }
    if (SDL_LockSurface(loaded) != 0) {
        return false;
    }
    bool converted = true;
    if (format == SDL_PIXELFORMAT_ARGB8888) {
        CopyRows(loaded, out);
    } else {
        converted = SDL_ConvertPixels(loaded->w, loaded->h, format, loaded->pixels, loaded->pitch,
                                      SDL_PIXELFORMAT_ARGB8888, out, loaded->w * 4) == 0;
    }
    SDL_UnlockSurface(loaded);
    return converted;
}

DecodeResult DecodeImageFile(const std::string& path, DecodedImage& out) {
    out = DecodedImage{};
    PictureFile file;
    const DecodeResult opened = file.Open(path, true);
    if (opened != DecodeResult::Ok) {
        return opened;
    }
    DecodedImage decoded = file.Description();
    decoded.pixels.resize(static_cast<std::size_t>(decoded.width) *
                          static_cast<std::size_t>(decoded.height));
    if (!file.ReadArgb(decoded.pixels.data())) {
        return DecodeResult::Invalid;
    }
    if (decoded.layout == SourceLayout::GreyAlpha) {
        decoded.lastBytes.reserve(decoded.pixels.size());
        for (const std::uint32_t pixel : decoded.pixels) {
            decoded.lastBytes.push_back(static_cast<std::uint8_t>(pixel >> 24));
        }
    }
    out = std::move(decoded);
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
