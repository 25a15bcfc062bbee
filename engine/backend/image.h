#pragma once
// Decoding of picture files into 32-bit ARGB pixels (PNG, TGA, BMP, JPEG, PNM).
#include <cstdint>
#include <string>
#include <vector>

namespace backend {

// No texture is made wider or taller than this, whatever the renderer names:
// far beyond any picture of the game. A picture file claiming more is refused
// before it is decoded into gigabytes.
inline constexpr int kLargestTexture = 8192;

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

// Invalid covers every file that is not a PNG, JPEG, BMP, PNM or (by its
// extension) TGA picture: no other decoder is ever handed a file. TooLarge is a
// header declaring a width or height beyond the largest texture; such a file is
// not decoded.
enum class DecodeResult { Ok, Missing, Invalid, TooLarge };

DecodeResult DecodeImageFile(const std::string& path, DecodedImage& out);

// The width and height a picture file declares in its header, read without
// decoding the pixels. False when the file cannot be read or is not of a
// format the decoder takes.
bool ReadPictureSize(const std::string& path, int& width, int& height);

// A picture file decoded as the file stores it, before its pixels become ARGB
// words, so that the words can be written straight into the memory that keeps
// them (a texture) with no copy in between.
class PictureFile {
public:
    PictureFile() = default;
    ~PictureFile();
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    // `lastBytes` asks for the last bytes of each file pixel as well. A file
    // whose header declares a side longer than `largest` is not decoded.
    DecodeResult Open(const std::string& path, bool lastBytes = false,
                      int largest = kLargestTexture);
    // What DecodeImageFile reports of the file, without the ARGB pixels.
    const DecodedImage& Description() const { return m_description; }
    int Width() const { return m_description.width; }
    int Height() const { return m_description.height; }
    // Writes width * height ARGB words, top row first, as DecodeImageFile
    // gives them. False when the file was not opened or SDL refuses.
    bool ReadArgb(std::uint32_t* out) const;

private:
    void* m_surface = nullptr;  // the SDL surface the file decoded into
    DecodedImage m_description;
};

// Writes a PNG; used by tests and screenshots.
bool SavePng(const std::string& path, const DecodedImage& image);

}  // namespace backend
