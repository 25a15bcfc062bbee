// Which picture files reach a decoder at all: the formats the game takes, each
// read by its own decoder, and no file whose header claims more than a texture
// can hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/backend/image.h"
#include "engine/media/resource_manager.h"
#include "resource_test_support.h"

namespace {

using namespace resource_test;

std::string BigEndian32(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string LittleEndian32(std::uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

// A 24-bit BMP, rows stored top first, every pixel `bgr`.
std::string Bmp(std::int32_t width, std::int32_t height, const std::string& bgr) {
    const std::string row = [&] {
        std::string bytes;
        for (std::int32_t x = 0; x < width; ++x) {
            bytes += bgr;
        }
        bytes.resize((bytes.size() + 3) / 4 * 4, '\0');
        return bytes;
    }();
    const auto data = static_cast<std::uint32_t>(row.size()) * static_cast<std::uint32_t>(height);
    std::string bytes = "BM" + LittleEndian32(54 + data) + LittleEndian32(0) + LittleEndian32(54);
    bytes += LittleEndian32(40) + LittleEndian32(static_cast<std::uint32_t>(width)) +
             LittleEndian32(static_cast<std::uint32_t>(-height));
    bytes += std::string("\x01\0\x18\0", 4) + LittleEndian32(0) + LittleEndian32(data);
    bytes += std::string(16, '\0');
    for (std::int32_t y = 0; y < height; ++y) {
        bytes += row;
    }
    return bytes;
}

// A grey 8 x 8 baseline JPEG whose only block has no detail: one Huffman code
// for a DC difference of 0, one for the end of the block.
std::string GreyJpeg() {
    std::string bytes("\xff\xd8", 2);
    bytes += std::string("\xff\xdb\0\x43\0", 5) + std::string(64, '\x01');
    bytes += std::string("\xff\xc0\0\x0b\x08\0\x08\0\x08\x01\x01\x11\0", 13);
    for (const char table : {'\x00', '\x10'}) {
        bytes += std::string("\xff\xc4\0\x14", 4) + table + '\x01' + std::string(15, '\0') + '\0';
    }
    bytes += std::string("\xff\xda\0\x08\x01\x01\0\0\x3f\0", 10);
    bytes += std::string("\x3f\xff\xd9", 3);
    return bytes;
}

// A JPEG that has only a frame header claiming `side` x `side` pixels.
std::string JpegFrameOnly(std::uint16_t side) {
    std::string bytes("\xff\xd8\xff\xc0\0\x0b\x08", 7);
    for (int twice = 0; twice < 2; ++twice) {
        bytes += {static_cast<char>(side >> 8), static_cast<char>(side)};
    }
    return bytes + std::string("\x01\x01\x11\0\xff\xd9", 6);
}

// A drawing program's own format, with no layers: it decodes to `side` x
// `side` transparent pixels.
std::string Xcf(std::uint32_t side) {
    // Colour, no properties, no layers, no channels.
    return std::string("gimp xcf file\0", 14) + BigEndian32(side) + BigEndian32(side) +
           std::string(20, '\0');
}

struct Refused {
    const char* path;
    std::string bytes;
    backend::DecodeResult result;
};

class PictureFileTest : public ScratchFolderTest {};

TEST_F(PictureFileTest, OtherFormatsAndOversizedPicturesAreNeverDecoded) {
    // The oversized ones are more than 8192 pixels long. The BMP, PGM and PNG
    // hold every pixel they claim and would decode into a picture that no
    // texture can take.
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    png += BigEndian32(100000) + BigEndian32(100000) + std::string("\x08\x06\0\0\0", 5);
    const std::string pgm = "P5 1 9000 255\n" + std::string(9000, '\x80');
    const std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\">"
        "<rect width=\"4\" height=\"4\" fill=\"red\"/></svg>";
    const backend::DecodeResult invalid = backend::DecodeResult::Invalid;
    const backend::DecodeResult tooLarge = backend::DecodeResult::TooLarge;
    const std::vector<Refused> cases = {
        {"Resources/layers.png", Xcf(4), invalid},
        {"Resources/drawing.png", svg, invalid},
        {"Resources/notes.png", "not a picture at all", invalid},
        {"Resources/huge.png", png, tooLarge},
        {"Resources/wide.bmp", Bmp(100000, 1, "\x10\x20\x30"), tooLarge},
        {"Resources/tall.pgm", pgm, tooLarge},
        {"Resources/huge.jpg", JpegFrameOnly(65000), tooLarge},
    };
    WriteSolidPng("Resources/wide.png", 9000, 1, 0xFF102030);
    std::vector<ImageRecord> records(cases.size() + 1);
    records.back().path = "Resources/wide.png";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        WriteFile(cases[i].path, cases[i].bytes);
        records[i].path = cases[i].path;
    }
    CResourceManager manager;
    for (std::size_t i = 0; i < records.size(); ++i) {
        ImageRecord& record = records[i];
        SCOPED_TRACE(record.path);
        const backend::DecodeResult expected = i < cases.size() ? cases[i].result : tooLarge;
        backend::DecodedImage decoded;
        EXPECT_EQ(backend::DecodeImageFile(record.path, decoded), expected);
        EXPECT_EQ(decoded.width, 0);
        EXPECT_TRUE(decoded.pixels.empty());

        const HResult code = expected == tooLarge ? RESULT_OUT_OF_MEMORY : RESULT_INVALID_DATA;
        EXPECT_EQ(manager.LoadTexture(Device(), record), code);
        EXPECT_EQ(record.texture, nullptr);
        delete record.texture;
        EXPECT_TRUE(LogHas("Loading texture: (" + record.path + ") failed (code error: " +
                               std::to_string(static_cast<std::uint32_t>(code)) + ") (0)",
                           "Red"));
    }
}

TEST_F(PictureFileTest, EveryFormatTakenLoads) {
    WritePng("Resources/a.png", 2, 1, {0xFFFF0000, 0x8000FF00});
    WriteTga("Resources/a.tga", 2, 1, {0xFF0000FF, 0xFFFFFFFF}, 24);
    WriteFile("Resources/a.bmp", Bmp(2, 1, "\x30\x20\x10"));
    WriteFile("Resources/a.ppm", std::string("P6\n# by hand\n2 1\n255\n\x10\x20\x30\0\0\0", 27));
    WriteFile("Resources/a.jpg", GreyJpeg());
    struct Case {
        const char* path;
        int width;
        std::uint32_t first;
        std::uint32_t last;
    };
    const Case cases[] = {
        {"Resources/a.png", 2, 0xFFFF0000, 0x8000FF00},
        {"Resources/a.tga", 2, 0xFF0000FF, 0xFFFFFFFF},
        {"Resources/a.bmp", 2, 0xFF102030, 0xFF102030},
        {"Resources/a.ppm", 2, 0xFF102030, 0xFF000000},
        {"Resources/a.jpg", 8, 0xFF808080, 0xFF808080},
    };
    std::vector<ImageRecord> records(std::size(cases));
    CResourceManager manager;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.path);
        backend::DecodedImage decoded;
        ASSERT_EQ(backend::DecodeImageFile(c.path, decoded), backend::DecodeResult::Ok);
        EXPECT_EQ(decoded.width, c.width);
        ASSERT_FALSE(decoded.pixels.empty());
        EXPECT_TRUE(RgbNear(decoded.pixels.front(), c.first, 1));
        EXPECT_TRUE(RgbNear(decoded.pixels.back(), c.last, 1));
        EXPECT_EQ(decoded.pixels.back() >> 24, c.last >> 24);

        records[i].path = c.path;
        EXPECT_EQ(manager.LoadTexture(Device(), records[i]), RESULT_OK);
        EXPECT_NE(records[i].texture, nullptr);
        delete records[i].texture;
    }
}

TEST_F(PictureFileTest, TheTransparentColourOfAColourPngBecomesTransparent) {
    // Red, then green, which the tRNS chunk names as the transparent colour.
    WriteSamplePng("Resources/keyed.png", 2, 1, 2, {255, 0, 0, 0, 255, 0}, {},
                   std::string("\0\0\0\xff\0\0", 6));
    backend::DecodedImage decoded;
    ASSERT_EQ(backend::DecodeImageFile("Resources/keyed.png", decoded), backend::DecodeResult::Ok);
    EXPECT_TRUE(decoded.hasAlpha);
    ASSERT_EQ(decoded.pixels.size(), 2u);
    EXPECT_EQ(decoded.pixels[0], 0xFFFF0000u);
    EXPECT_EQ(decoded.pixels[1] >> 24, 0u);
}

}  // namespace
