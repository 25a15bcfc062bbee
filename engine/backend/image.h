#pragma once
// Decoding of picture files into 32-bit ARGB pixels (PNG, TGA, BMP, JPG).
#include <cstdint>
#include <string>
#include <vector>

namespace backend {

// How the file itself stores a pixel, which the 32-bit words no longer show:
// a grey, a grey-and-alpha and a palette picture may decode to the same words.
enum class SourceLayout { Colour, Palette, Grey, GreyAlpha };

struct DecodedImage {
    int width = 0;
    int height = 0;
    // Row-major, top row first, one 0xAARRGGBB word per pixel; pitch == width.
    std::vector<std::uint32_t> pixels;
    // True when the file itself carried an alpha channel.
    bool hasAlpha = false;
    // The file's pixel layout in bits per pixel, for the log.
    int bitsPerPixel = 0;
    SourceLayout layout = SourceLayout::Colour;
    // For the one- and two-byte layouts, the last byte of each file pixel, in
    // the order of `pixels`: the palette index, the grey level, or the alpha of
    // a grey-and-alpha pixel. Empty for colour files.
    std::vector<std::uint8_t> lastBytes;
};

enum class DecodeResult { Ok, Missing, Invalid };

DecodeResult DecodeImageFile(const std::string& path, DecodedImage& out);

// Writes a PNG; used by tests and screenshots.
bool SavePng(const std::string& path, const DecodedImage& image);

}  // namespace backend
