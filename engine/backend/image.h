#pragma once
// Decoding of picture files into 32-bit ARGB pixels (PNG, TGA, BMP, JPG).
#include <cstdint>
#include <string>
#include <vector>

namespace backend {

struct DecodedImage {
    int width = 0;
    int height = 0;
    // Row-major, top row first, one 0xAARRGGBB word per pixel; pitch == width.
    std::vector<std::uint32_t> pixels;
    // True when the file itself carried an alpha channel.
    bool hasAlpha = false;
    // The file's pixel layout in bits per pixel, for the log.
    int bitsPerPixel = 0;
};

enum class DecodeResult { Ok, Missing, Invalid };

DecodeResult DecodeImageFile(const std::string& path, DecodedImage& out);

// Writes a PNG; used by tests and screenshots.
bool SavePng(const std::string& path, const DecodedImage& image);

}  // namespace backend
