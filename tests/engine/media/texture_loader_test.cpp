#include "engine/media/texture_loader.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "resource_test_support.h"

namespace {

using namespace resource_test;

TEST(AlphaCompanion, BaseNameBesideThePicture) {
    struct Case {
        const char* path;
        const char* base;
    };
    const std::vector<Case> cases = {
        {"Resources/Images/fish.png", "Resources/Images/_fish"},
        {"Resources\\Images\\fish.png", "Resources\\Images\\_fish"},
        {"a/b\\c.png", "a/b\\_c"},  // the later of the two separators counts
        {"a\\b/c.png", "a\\b/_c"},
        {"fish.png", "_fish"},
        {"fish.tar.png", "_fish.tar"},
        {"Resources/noext", "Resources/_noext"},
        {"dir.v2/file", "dir.v2/_file"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AlphaCompanionBase(c.path), c.base) << c.path;
    }
}

TEST(AlphaCompanion, AlphaValueOfAPixel) {
    // A grey alpha picture gives exactly its grey level.
    for (std::uint32_t level = 0; level < 256; ++level) {
        ASSERT_EQ(AlphaFromPixel(0xFF000000u | level * 0x010101u), level) << level;
    }
    // The colour bytes are weighted in memory order: blue 0.3, green 0.59, red 0.11.
    EXPECT_EQ(AlphaFromPixel(0xFFFF0000), 28);
    EXPECT_EQ(AlphaFromPixel(0xFF0000FF), 76);
    EXPECT_EQ(AlphaFromPixel(0xFF00FF00), 150);
    // The alpha picture's own alpha plays no part.
    EXPECT_EQ(AlphaFromPixel(0x00808080), 128);
}

TEST(AlphaCompanion, MergeNeedsTheSameSize) {
    backend::DecodedImage picture;
    picture.width = 2;
    picture.height = 1;
    picture.pixels = {0xFF112233, 0x80445566};
    backend::DecodedImage alpha = picture;
    alpha.pixels = {0xFF404040, 0xFFC0C0C0};
    ASSERT_TRUE(MergeAlphaPicture(picture.pixels.data(), 2, 1, alpha));
    EXPECT_EQ(picture.pixels[0], 0x40112233u);
    EXPECT_EQ(picture.pixels[1], 0xC0445566u);

    backend::DecodedImage taller = alpha;
    taller.width = 1;
    taller.height = 2;
    const auto before = picture.pixels;
    EXPECT_FALSE(MergeAlphaPicture(picture.pixels.data(), 2, 1, taller));
    EXPECT_EQ(picture.pixels, before);
}

class TextureLoaderTest : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        m_device = Device();
        ASSERT_NE(m_device, nullptr);
    }

    void TearDown() override {
        for (ImageRecord& record : m_records) {
            delete record.texture;
        }
        ScratchFolderTest::TearDown();
    }

    ImageRecord& Record(const std::string& path) {
        m_records.emplace_back();
        m_records.back().path = path;
        return m_records.back();
    }

    // The texture drawn 1:1 at the top-left corner over a blue screen.
    std::vector<std::uint32_t> Drawn(const ImageRecord& record) {
        m_device->Clear(0xFF0000FF);
        backend::SpriteDraw draw;
        draw.texture = record.texture;
        EXPECT_EQ(m_device->Draw(draw), backend::DrawResult::Ok);
        return ReadScreen(m_device);
    }

    CResourceManager m_manager;
    backend::IRenderDevice* m_device = nullptr;
    std::vector<ImageRecord> m_records;  // reserved so that references stay valid
};

// White, the colour key (opaque black), and two greys.
const std::vector<std::uint32_t> PICTURE = {0xFFFFFFFF, 0xFF000000, 0xFF808080, 0xFFFFFFFF};

TEST_F(TextureLoaderTest, ColourKeyAndAlphaCompanions) {
    struct Case {
        const char* name;
        bool tga;            // _pic.tga, alpha 64 on every pixel
        bool png;            // _pic.png, alpha 200 on every pixel
        bool explicitAlpha;  // alpha.png named by the record, alpha 32
        int expectedAlpha;   // -1: the picture keeps its own alpha
    };
    const std::vector<Case> cases = {
        {"none", false, false, false, -1},  {"tga", true, false, false, 64},
        {"png", false, true, false, 200},   {"tga before png", true, true, false, 64},
        {"explicit", true, true, true, 32},
    };
    m_records.reserve(cases.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = std::string("Resources/") + c.name + "/";
        WritePng(folder + "pic.png", 4, 1, PICTURE);
        if (c.tga) {
            WriteTga(folder + "_pic.tga", 4, 1, std::vector<std::uint32_t>(4, 0xFF404040), 24);
        }
        if (c.png) {
            WriteSolidPng(folder + "_pic.png", 4, 1, 0xFFC8C8C8);
        }
        ImageRecord& record = Record(folder + "pic.png");
        if (c.explicitAlpha) {
            WriteSolidPng(folder + "alpha.png", 4, 1, 0xFF202020);
            record.alpha = folder + "alpha.png";
        }
        ASSERT_EQ(m_manager.LoadTexture(m_device, record), RESULT_OK);
        EXPECT_EQ(record.info.width, 4);
        EXPECT_EQ(record.info.height, 1);
        EXPECT_TRUE(LogHas("Loading texture: (" + folder + "pic.png) complete (21)", "Gray"));
        EXPECT_EQ(LogHas("Loading and initializing alpha channel is completed", "8888FF"),
                  c.expectedAlpha >= 0);

        const auto screen = Drawn(record);
        if (c.expectedAlpha < 0) {
            EXPECT_TRUE(RgbNear(PixelAt(screen, 0, 0), 0xFFFFFF));
            // The keyed pixel is transparent: the blue screen shows through.
            EXPECT_TRUE(RgbNear(PixelAt(screen, 1, 0), 0x0000FF));
            EXPECT_TRUE(RgbNear(PixelAt(screen, 2, 0), 0x808080));
        } else {
            const int a = c.expectedAlpha;
            const auto over = [a](int colour, int blue) {
                return static_cast<std::uint32_t>(((colour * a + blue * (255 - a)) / 255));
            };
            const std::uint32_t white = over(255, 0) << 16 | over(255, 0) << 8 | over(255, 255);
            EXPECT_TRUE(RgbNear(PixelAt(screen, 0, 0), white));
            // The merge overwrites the keyed pixel's alpha too: transparent
            // black becomes black of the companion's alpha.
            const std::uint32_t black = over(0, 255);
            EXPECT_TRUE(RgbNear(PixelAt(screen, 1, 0), black));
        }
        HtmlLog().Start();
    }
}

// Four pixels of one byte each: grey levels or palette indices.
const std::vector<std::uint8_t> LEVELS = {0, 64, 128, 255};
// Every palette entry is pure red, which weighs 28 as a colour: only the index
// gives the levels above.
const std::vector<std::uint32_t> RED_PALETTE(256, 0xFF0000);

TEST_F(TextureLoaderTest, OneAndTwoByteAlphaPicturesGiveTheLastByteOfTheirPixel) {
    struct Case {
        const char* name;
        const char* companion;
        std::function<void(const std::string&)> write;
    };
    // Grey and alpha: white at the four alpha levels, where the colour alone
    // would give 255 throughout.
    std::vector<std::uint8_t> greyAlpha;
    for (const std::uint8_t level : LEVELS) {
        greyAlpha.insert(greyAlpha.end(), {255, level});
    }
    const std::vector<Case> cases = {
        {"grey tga", "_pic.tga", [](const std::string& p) { WriteEightBitTga(p, 4, 1, LEVELS); }},
        {"palette tga", "_pic.tga",
         [](const std::string& p) { WriteEightBitTga(p, 4, 1, LEVELS, RED_PALETTE); }},
        {"grey png", "_pic.png", [](const std::string& p) { WriteSamplePng(p, 4, 1, 0, LEVELS); }},
        {"palette png", "_pic.png",
         [](const std::string& p) { WriteSamplePng(p, 4, 1, 3, LEVELS, RED_PALETTE); }},
        {"grey and alpha png", "_pic.png",
         [&greyAlpha](const std::string& p) { WriteSamplePng(p, 4, 1, 4, greyAlpha); }},
    };
    m_records.reserve(cases.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string folder = std::string("Resources/") + c.name + "/";
        WriteSolidPng(folder + "pic.png", 4, 1, 0xFFFFFFFF);
        c.write(folder + c.companion);
        ImageRecord& record = Record(folder + "pic.png");
        ASSERT_EQ(m_manager.LoadTexture(m_device, record), RESULT_OK);
        EXPECT_TRUE(LogHas("Loading and initializing alpha channel is completed", "8888FF"));
        // White of alpha a over blue.
        const auto screen = Drawn(record);
        for (int x = 0; x < 4; ++x) {
            const std::uint32_t a = LEVELS[static_cast<std::size_t>(x)];
            EXPECT_TRUE(RgbNear(PixelAt(screen, x, 0), a << 16 | a << 8 | 0xFF)) << "pixel " << x;
        }
        HtmlLog().Start();
    }
}

TEST_F(TextureLoaderTest, TheLogNamesTheLayoutOfThePictureFile) {
    struct Case {
        const char* file;
        std::function<void(const std::string&)> write;
        int format;
    };
    const std::vector<Case> cases = {
        {"palette.tga",
         [](const std::string& p) { WriteEightBitTga(p, 4, 1, LEVELS, RED_PALETTE); }, 41},
        {"palette.png",
         [](const std::string& p) { WriteSamplePng(p, 4, 1, 3, LEVELS, RED_PALETTE); }, 41},
        {"grey.tga", [](const std::string& p) { WriteEightBitTga(p, 4, 1, LEVELS); }, 50},
        {"grey.png", [](const std::string& p) { WriteSamplePng(p, 4, 1, 0, LEVELS); }, 50},
        {"greyalpha.png",
         [](const std::string& p) {
             WriteSamplePng(p, 2, 1, 4, {255, 10, 0, 200});
         },
         51},
        {"colour.png", [](const std::string& p) { WriteSolidPng(p, 4, 1, 0xFFFFFFFF); }, 21},
    };
    m_records.reserve(cases.size());
    for (const Case& c : cases) {
        const std::string path = std::string("Resources/") + c.file;
        c.write(path);
        ImageRecord& record = Record(path);
        ASSERT_EQ(m_manager.LoadTexture(m_device, record), RESULT_OK) << c.file;
        EXPECT_EQ(record.info.format, c.format) << c.file;
        EXPECT_TRUE(LogHas(
            "Loading texture: (" + path + ") complete (" + std::to_string(c.format) + ")", "Gray"))
            << c.file;
    }
}

TEST_F(TextureLoaderTest, AnExplicitAlphaPictureThatIsMissingLeavesThePictureAlone) {
    WritePng("Resources/pic.png", 4, 1, PICTURE);
    WriteTga("Resources/_pic.tga", 4, 1, std::vector<std::uint32_t>(4, 0xFF404040), 24);
    m_records.reserve(1);
    ImageRecord& record = Record("Resources/pic.png");
    record.alpha = "Resources/missing_alpha.png";
    ASSERT_EQ(m_manager.LoadTexture(m_device, record), RESULT_OK);
    EXPECT_FALSE(LogHas("Loading and initializing alpha channel is completed"));
    EXPECT_TRUE(RgbNear(PixelAt(Drawn(record), 0, 0), 0xFFFFFF));
}

TEST_F(TextureLoaderTest, AnAlphaPictureOfAnotherSizeIsRefused) {
    WritePng("Resources/pic.png", 4, 1, PICTURE);
    WriteSolidPng("Resources/_pic.png", 4, 2, 0xFF404040);
    m_records.reserve(1);
    ImageRecord& record = Record("Resources/pic.png");
    ASSERT_EQ(m_manager.LoadTexture(m_device, record), RESULT_OK);
    EXPECT_TRUE(LogHas("Incorrect resolution of alpha channel", "Red"));
    EXPECT_FALSE(LogHas("Loading and initializing alpha channel is completed"));
    const auto screen = Drawn(record);
    EXPECT_TRUE(RgbNear(PixelAt(screen, 0, 0), 0xFFFFFF));
    EXPECT_TRUE(RgbNear(PixelAt(screen, 1, 0), 0x0000FF));
}

TEST_F(TextureLoaderTest, AnotherColourKeyAndA24BitPicture) {
    // Green is the key here; black stays black. The TGA has no alpha channel
    // and still takes its companion.
    WriteTga("Resources/pic.tga", 3, 1, {0xFF00FF00, 0xFF000000, 0xFFFFFFFF}, 24);
    WriteTga("Resources/_pic.tga", 3, 1, {0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}, 24);
    m_records.reserve(1);
    ImageRecord& record = Record("Resources/pic.tga");
    record.colourKey = 0xFF00FF00;
    ASSERT_EQ(m_manager.LoadTexture(m_device, record), RESULT_OK);
    EXPECT_TRUE(LogHas("Loading texture: (Resources/pic.tga) complete (20)", "Gray"));
    EXPECT_TRUE(LogHas("Loading and initializing alpha channel is completed", "8888FF"));
    const auto screen = Drawn(record);
    EXPECT_TRUE(RgbNear(PixelAt(screen, 0, 0), 0x000000));  // keyed, then made opaque
    EXPECT_TRUE(RgbNear(PixelAt(screen, 1, 0), 0x000000));
    EXPECT_TRUE(RgbNear(PixelAt(screen, 2, 0), 0x0000FF));  // alpha 0 from the companion
}

TEST_F(TextureLoaderTest, AMissingPictureFailsAndALoadedOneIsRefused) {
    m_records.reserve(2);
    ImageRecord& missing = Record("Resources/missing.png");
    EXPECT_EQ(m_manager.LoadTexture(m_device, missing), RESULT_INVALID_DATA);
    EXPECT_EQ(missing.texture, nullptr);
    EXPECT_TRUE(LogHas("Loading texture: (Resources/missing.png) failed (code error: " +
                           std::to_string(static_cast<std::uint32_t>(RESULT_INVALID_DATA)) +
                           ") (0)",
                       "Red"));

    WritePng("Resources/pic.png", 4, 1, PICTURE);
    ImageRecord& record = Record("Resources/pic.png");
    ASSERT_EQ(m_manager.LoadTexture(m_device, record), RESULT_OK);
    const backend::ITexture* texture = record.texture;
    const std::size_t lines = LogTexts().size();
    EXPECT_EQ(m_manager.LoadTexture(m_device, record), RESULT_FAIL);
    EXPECT_EQ(record.texture, texture);
    EXPECT_EQ(LogTexts().size(), lines);
}

TEST_F(TextureLoaderTest, TheColourKeyIsComparedWithItsAlpha) {
    // Only opaque black is the key: half-transparent black and clear black
    // keep their alpha.
    std::vector<std::uint32_t> pixels = {0xFF000000, 0x80000000, 0x00000000, 0xFF000001};
    ApplyColourKey(pixels.data(), pixels.size(), 0xFF000000);
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0, 0x80000000, 0, 0xFF000001}));

    WritePng("Resources/pic.png", 2, 1, {0x80000000, 0xFF000000});
    m_records.reserve(1);
    ImageRecord& record = Record("Resources/pic.png");
    ASSERT_EQ(m_manager.LoadTexture(m_device, record), RESULT_OK);
    const auto screen = Drawn(record);
    EXPECT_TRUE(RgbNear(PixelAt(screen, 0, 0), 0x00007F));  // half black over blue
    EXPECT_TRUE(RgbNear(PixelAt(screen, 1, 0), 0x0000FF));  // keyed away
}

TEST_F(TextureLoaderTest, PictureSizesAreReadFromTheHeaderAlone) {
    // Headers only: the sizes come from them without any pixel data.
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x40\0\0\0\x20\0\x08\x06\0\0\0", 29);
    std::string bmp = "BM" + std::string(12, '\0') + std::string("\x28\0\0\0", 4) +
                      std::string("\x20\x03\0\0\x38\xff\xff\xff", 8) + std::string(16, '\0');
    std::string oldBmp = "BM" + std::string(12, '\0') + std::string("\x0c\0\0\0\x10\0\x08\0", 8) +
                         std::string(8, '\0');
    std::string jpeg("\xff\xd8\xff\xe0\0\x04\0\0\xff\xc0\0\x11\x08\x01\x2c\x02\x58\x03", 18);
    jpeg += std::string(9, '\0') + "\xff\xd9";
    // Blanks and a comment between the numbers.
    const std::string pnm = "P6\n# made by hand\n 640\t\n480 255\n";
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = '\x00';
    tga[13] = '\x40';  // 16384
    tga[14] = '\x03';
    struct Case {
        const char* name;
        std::string bytes;
        bool known;
        int width;
        int height;
    };
    const Case cases[] = {
        {"a.png", png, true, 16384, 8192}, {"a.bmp", bmp, true, 800, 200},
        {"b.bmp", oldBmp, true, 16, 8},    {"a.jpg", jpeg, true, 600, 300},
        {"a.TGA", tga, true, 16384, 3},    {"b.dat", tga, false, 0, 0},
        {"a.ppm", pnm, true, 640, 480},    {"short.png", "\x89PNG", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(c.name, c.bytes);
        int width = 0;
        int height = 0;
        EXPECT_EQ(backend::ReadPictureSize(c.name, width, height), c.known);
        if (c.known) {
            EXPECT_EQ(width, c.width);
            EXPECT_EQ(height, c.height);
        }
    }
    int width = 0;
    int height = 0;
    EXPECT_FALSE(backend::ReadPictureSize("missing.png", width, height));
}

// A device that takes textures of at most 8 pixels a side.
class CSmallTextureDevice : public CRecordingDevice {
public:
    using CRecordingDevice::CRecordingDevice;
    int MaxTextureSize() const override { return 8; }
};

TEST_F(TextureLoaderTest, APictureLargerThanTheLargestTextureFails) {
    CSmallTextureDevice small(m_device);
    // A header claiming 16384 x 16384 fails before any decoding: the file
    // has no pixel data at all, and the code is not that of a bad file.
    WriteFile("Resources/huge.png",
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x40\0\0\0\x40\0\x08\x06\0\0\0", 29));
    WritePng("Resources/wide.png", 9, 1, std::vector<std::uint32_t>(9, 0xFFFFFFFF));
    WritePng("Resources/fits.png", 8, 8, std::vector<std::uint32_t>(64, 0xFFFFFFFF));
    // A companion that claims another size is not decoded either.
    WriteFile("Resources/_fits.png",
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x40\0\0\0\x40\0\x08\x06\0\0\0", 29));
    const std::string code = std::to_string(static_cast<std::uint32_t>(RESULT_OUT_OF_MEMORY));
    m_records.reserve(3);
    for (const char* name : {"huge", "wide"}) {
        SCOPED_TRACE(name);
        ImageRecord& record = Record(std::string("Resources/") + name + ".png");
        EXPECT_EQ(m_manager.LoadTexture(&small, record), RESULT_OUT_OF_MEMORY);
        EXPECT_EQ(record.texture, nullptr);
        EXPECT_TRUE(LogHas(std::string("Loading texture: (Resources/") + name +
                               ".png) failed (code error: " + code + ") (0)",
                           "Red"));
    }
    ImageRecord& fits = Record("Resources/fits.png");
    EXPECT_EQ(m_manager.LoadTexture(&small, fits), RESULT_OK);
    EXPECT_NE(fits.texture, nullptr);
    EXPECT_TRUE(LogHas("Incorrect resolution of alpha channel", "Red"));
}

}  // namespace
