// Picture files through SDL2_image, handed on as 32-bit ARGB words.
#include <SDL.h>
#include <SDL_image.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

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

// SDL_image picks a decoder from a file's bytes among every format it was built
// with, some of which believe any size a header claims or spin for minutes on a
// crafted file. A picture is only ever handed to the decoder of one of these.
enum class PictureKind { Unknown, Bmp, Jpeg, Png, Pnm, Tga };

// What the first bytes of a file say: its kind, the size it declares and, for
// the layout, the bytes themselves.
struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    int width = 0;
    int height = 0;
    std::array<unsigned char, 26> bytes{};  // bytes past the end of the file stay 0
};

std::uint32_t BigEndian16(const unsigned char* bytes) {
    return (static_cast<std::uint32_t>(bytes[0]) << 8) | bytes[1];
}

std::uint32_t LittleEndian16(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8);
}

std::uint32_t BigEndian32(const unsigned char* bytes) {
    return (BigEndian16(bytes) << 16) | BigEndian16(bytes + 2);
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return LittleEndian16(bytes) | (LittleEndian16(bytes + 2) << 16);
}

// A declared size can be anything a file claims; it is kept within int.
void StoreSize(std::uint64_t width, std::uint64_t height, PictureHeader& header) {
    constexpr std::uint64_t kMost = 0x7FFFFFFF;
    header.width = static_cast<int>(std::min(width, kMost));
    header.height = static_cast<int>(std::min(height, kMost));
}

bool ReadByte(SDL_RWops* file, unsigned char& byte) {
    return SDL_RWread(file, &byte, 1, 1) == 1;
}

// Walks the JPEG markers up to the first start of frame, which holds the size.
// A scan or the end before it leaves the size unknown.
bool ReadJpegSize(SDL_RWops* file, PictureHeader& header) {
    SDL_RWseek(file, 2, RW_SEEK_SET);
    unsigned char byte = 0;
    for (;;) {
        if (!ReadByte(file, byte) || byte != 0xFF) {
            return false;
        }
        while (byte == 0xFF) {  // any number of fill bytes may stand before a marker
            if (!ReadByte(file, byte)) {
                return false;
            }
        }
        const unsigned char kind = byte;
        if (kind == 0x01 || (kind >= 0xD0 && kind <= 0xD8)) {
            continue;  // markers without a length
        }
        if (kind == 0xD9 || kind == 0xDA) {
            return false;
        }
        unsigned char length[2];
        if (SDL_RWread(file, length, 1, 2) != 2 || BigEndian16(length) < 2) {
            return false;
        }
        const bool startOfFrame =
            kind >= 0xC0 && kind <= 0xCF && kind != 0xC4 && kind != 0xC8 && kind != 0xCC;
        if (startOfFrame) {
            unsigned char frame[5];  // precision, height, width
            if (SDL_RWread(file, frame, 1, 5) != 5) {
                return false;
            }
            StoreSize(BigEndian16(frame + 3), BigEndian16(frame + 1), header);
            return true;
        }
        if (SDL_RWseek(file, static_cast<Sint64>(BigEndian16(length)) - 2, RW_SEEK_CUR) < 0) {
            return false;
        }
    }
}

// The width and height of a PNM header: decimal numbers after the two-byte
// magic, between blanks and comments that run from '#' to the end of the line.
bool ReadPnmSize(SDL_RWops* file, PictureHeader& header) {
    SDL_RWseek(file, 2, RW_SEEK_SET);
    std::uint64_t numbers[2] = {0, 0};
    unsigned char byte = 0;
    bool haveByte = ReadByte(file, byte);
    for (std::uint64_t& number : numbers) {
        while (haveByte && (std::isspace(byte) || byte == '#')) {
            if (byte == '#') {
                while (haveByte && byte != '\n' && byte != '\r') {
                    haveByte = ReadByte(file, byte);
                }
            } else {
                haveByte = ReadByte(file, byte);
            }
        }
        if (!haveByte || !std::isdigit(byte)) {
            return false;
        }
        while (haveByte && std::isdigit(byte)) {
            number = std::min<std::uint64_t>(number * 10 + (byte - '0'), 0xFFFFFFFFu);
            haveByte = ReadByte(file, byte);
        }
    }
    StoreSize(numbers[0], numbers[1], header);
    return true;
}

// The kind of the file and the size its header declares; Unknown for a file
// that is none of the kinds taken or whose header cannot be read.
PictureHeader ReadHeader(SDL_RWops* file, const std::string& path) {
    PictureHeader header;
    const std::size_t count = SDL_RWread(file, header.bytes.data(), 1, header.bytes.size());
    SDL_RWseek(file, 0, RW_SEEK_SET);
    const unsigned char* bytes = header.bytes.data();
    bool sized = false;
    if (IMG_isPNG(file)) {
        header.kind = PictureKind::Png;
        sized = count >= 24 && std::memcmp(bytes + 12, "IHDR", 4) == 0;
        if (sized) {
            StoreSize(BigEndian32(bytes + 16), BigEndian32(bytes + 20), header);
        }
    } else if (IMG_isBMP(file)) {
        header.kind = PictureKind::Bmp;
        if (count >= 22 && LittleEndian32(bytes + 14) == 12) {
            sized = true;
            StoreSize(LittleEndian16(bytes + 18), LittleEndian16(bytes + 20), header);
        } else if (count >= 26) {
            // A negative width is no picture; a negative height marks rows
            // stored top first.
            const std::int64_t width = static_cast<std::int32_t>(LittleEndian32(bytes + 18));
            const std::int64_t rows = static_cast<std::int32_t>(LittleEndian32(bytes + 22));
            sized = width > 0;
            StoreSize(sized ? static_cast<std::uint64_t>(width) : 0,
                      static_cast<std::uint64_t>(rows < 0 ? -rows : rows), header);
        }
    } else if (IMG_isJPG(file)) {
        header.kind = PictureKind::Jpeg;
        sized = ReadJpegSize(file, header);
    } else if (IMG_isPNM(file)) {
        header.kind = PictureKind::Pnm;
        sized = ReadPnmSize(file, header);
    } else if (HasTgaExtension(path)) {
        header.kind = PictureKind::Tga;
        sized = count >= 18;
        if (sized) {
            StoreSize(LittleEndian16(bytes + 12), LittleEndian16(bytes + 14), header);
        }
    }
    SDL_RWseek(file, 0, RW_SEEK_SET);
    if (!sized) {
        header.kind = PictureKind::Unknown;
    }
    return header;
}

SDL_Surface* Decode(SDL_RWops* file, PictureKind kind) {
    switch (kind) {
        case PictureKind::Png:
            return IMG_LoadPNG_RW(file);
        case PictureKind::Bmp:
            return IMG_LoadBMP_RW(file);
        case PictureKind::Jpeg:
            return IMG_LoadJPG_RW(file);
        case PictureKind::Pnm:
            return IMG_LoadPNM_RW(file);
        case PictureKind::Tga:
            return IMG_LoadTGA_RW(file);
        case PictureKind::Unknown:
            break;
    }
    return nullptr;
}

// The layout the file's header names. SDL hands grey and palette pictures over
// alike as palette surfaces, and grey-and-alpha ones as 32-bit colour, so only
// the header tells them apart.
SourceLayout HeaderLayout(const PictureHeader& header) {
    if (header.kind == PictureKind::Png) {
        switch (header.bytes[25]) {  // the colour type of the IHDR chunk
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
    if (header.kind == PictureKind::Tga) {
        switch (header.bytes[2] & 0x07) {  // the image type, run-length bit cleared
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

DecodeResult PictureFile::Open(const std::string& path, bool lastBytes, int largest) {
    SDL_FreeSurface(static_cast<SDL_Surface*>(m_surface));
    m_surface = nullptr;
    m_description = DecodedImage{};
    // A folder opens for reading on Linux; only a regular file is a picture.
    if (!IsRegularFile(path)) {
        return DecodeResult::Missing;
    }
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (file == nullptr) {
        return DecodeResult::Invalid;
    }
    const PictureHeader header = ReadHeader(file, path);
    if (header.kind == PictureKind::Unknown || header.width <= 0 || header.height <= 0) {
        SDL_RWclose(file);
        return DecodeResult::Invalid;
    }
    if (header.width > largest || header.height > largest) {
        SDL_RWclose(file);
        return DecodeResult::TooLarge;
    }
    SDL_Surface* loaded = Decode(file, header.kind);
    SDL_RWclose(file);
    if (loaded == nullptr) {
        return DecodeResult::Invalid;
    }
    // The decoder has the last word on the size; it may read another one than
    // the header showed.
    if (loaded->w > largest || loaded->h > largest) {
        SDL_FreeSurface(loaded);
        return DecodeResult::TooLarge;
    }
    KeepLayout(loaded, HeaderLayout(header), lastBytes, m_description);
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

bool ReadPictureSize(const std::string& path, int& width, int& height) {
    if (!IsRegularFile(path)) {
        return false;
    }
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    const PictureHeader header = ReadHeader(file, path);
    SDL_RWclose(file);
    if (header.kind == PictureKind::Unknown) {
        return false;
    }
    width = header.width;
    height = header.height;
    return true;
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
