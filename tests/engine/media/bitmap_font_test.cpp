#include "engine/media/bitmap_font.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "engine/media/resource_manager.h"
#include "resource_test_support.h"

namespace {

using namespace resource_test;

// A glyph as the test expects it: character, advance, rectangle.
struct Expected {
    char16_t character;
    std::int32_t left, top, right, bottom;
};

void ExpectGlyphs(const FontRecord& font, const std::vector<Expected>& expected) {
    ASSERT_EQ(font.glyphs.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const GlyphRecord& g = font.glyphs[i];
        const Expected& e = expected[i];
        EXPECT_EQ(g.character, e.character) << "glyph " << i;
        EXPECT_EQ(g.left, e.left) << "glyph " << i;
        EXPECT_EQ(g.top, e.top) << "glyph " << i;
        EXPECT_EQ(g.right, e.right) << "glyph " << i;
        EXPECT_EQ(g.bottom, e.bottom) << "glyph " << i;
        EXPECT_EQ(g.advance, e.right - e.left) << "glyph " << i;
        EXPECT_EQ(g.width, g.advance) << "glyph " << i;
        EXPECT_EQ(g.height, font.height) << "glyph " << i;
    }
}

class FontFileTest : public ScratchFolderTest {
protected:
    FontRecord TextFont(const std::string& content, std::int32_t height = 20,
                        std::int32_t maxLength = 256) {
        WriteFile("font.txt", content);
        FontRecord font;
        font.dataPath = "font.txt";
        font.height = height;
        font.maxLength = maxLength;
        return font;
    }

    // A strip font: the symbols file (with its byte-order mark) and one word
    // per (x, w) pair.
    FontRecord StripFont(const std::string& symbols, const std::vector<std::pair<int, int>>& words,
                         const std::string& extraBytes = "") {
        WriteFile("strip.txt", "\xEF\xBB\xBF" + symbols);
        std::string data;
        for (const auto& [x, w] : words) {
            for (const int value : {x & 0xFF, x >> 8, w & 0xFF, w >> 8}) {
                data.push_back(static_cast<char>(value));
            }
        }
        WriteFile("strip.dat", data + extraBytes);
        FontRecord font;
        font.dataPath = "strip.dat";
        font.symbolsPath = "strip.txt";
        font.height = 16;
        font.maxLength = 256;
        font.format = FONT_FORMAT_STRIP;
        return font;
    }

    CResourceManager m_manager;
};

TEST_F(FontFileTest, SectionsMakeGlyphsAndKerning) {
    FontRecord font = TextFont(
        "Define CharList\r\n"
        "'A', 'B', ''', ',',\r\n"
        "'\xC3\xA9', 'D');\r\n"
        "Define WidthList\r\n"
        "10, 12,\r\n"
        "-3, +4, 5, 6);\r\n"
        "Define RectList\r\n"
        "(300, 5, 10, 20), (256, 7, 12, 20), (10, 3, 8, 20),\r\n"
        "(600, 0, 5, 20), (0, 0, 4, 20, 99, 98), (20, 1, 6, 20));\r\n"
        "Define OffsetList\r\n"
        "(0, 0),\r\n"
        "(1, 1), (2, 2), (3, 3, 7), (4, 4), (5, 5)\r\n"
        ");\r\n"
        "Define KerningPairs\r\n"
        "\"AV\", \"To\");\r\n"
        "Define KerningValues\r\n"
        "(-2, 3);\r\n");
    ASSERT_TRUE(m_manager.ReadFontFile(font));
    // Positions along a strip fold into rows of 256 pixels, 20 apart; x = 256
    // keeps its own y. Extra numbers in a group are dropped.
    ExpectGlyphs(font, {{u'A', 44, 20, 54, 40},
                        {u'B', 0, 7, 12, 27},
                        {u'\'', 10, 3, 18, 23},
                        {u',', 88, 40, 93, 60},
                        {u'\u00E9', 0, 0, 4, 20},
                        {u'D', 20, 1, 26, 21}});
    ASSERT_EQ(font.kerning.size(), 2u);
    EXPECT_EQ(font.kerning[0].pair, u"AV");
    EXPECT_EQ(font.kerning[0].value, -2);
    EXPECT_EQ(font.kerning[1].pair, u"To");
    EXPECT_EQ(font.kerning[1].value, 3);
    EXPECT_TRUE(LogHas("Initializing characters (font.txt)", "Blue"));
    EXPECT_TRUE(LogHas("Complete", "Green"));
}

TEST_F(FontFileTest, QuotesAtTheEndOfALineAreSkipped) {
    FontRecord font = TextFont(
        "Define CharList\n"
        "'A', 'B', '\n"
        "'C');\n"
        "Define WidthList\n"
        "1, 2, 3);\n"
        "Define RectList\n"
        "(0, 0, 1, 1), (1, 0, 1, 1), (2, 0, 1, 1));\n"
        "Define OffsetList\n"
        "(0, 0), (0, 0), (0, 0));\n"
        "Define KerningPairs\n"
        "\"AB\", \"\n"
        "\"C\n"
        "Define KerningValues\n"
        "(1);\n");
    ASSERT_TRUE(m_manager.ReadFontFile(font));
    ASSERT_EQ(font.glyphs.size(), 3u);
    EXPECT_EQ(font.glyphs[2].character, u'C');
    ASSERT_EQ(font.kerning.size(), 1u);
}

TEST_F(FontFileTest, ACharacterAcrossAReadBlockStaysWhole) {
    // The euro sign's three bytes straddle the first 32768 bytes of the file.
    std::string filler = "Filler " + std::string(32768, 'x');
    const std::string head = "Define CharList\n'";
    filler.resize(32767 - head.size() - 1);
    FontRecord font = TextFont(filler + "\n" + head +
                               "\xE2\x82\xAC');\nDefine WidthList\n5);\nDefine RectList\n"
                               "(0, 0, 5, 8));\nDefine OffsetList\n(0, 0));\n");
    ASSERT_TRUE(m_manager.ReadFontFile(font));
    ASSERT_EQ(font.glyphs.size(), 1u);
    EXPECT_EQ(font.glyphs[0].character, u'\u20AC');
}

TEST_F(FontFileTest, UnequalListsMakeNoGlyphs) {
    const std::string lists =
        "Define CharList\n'A', 'B');\nDefine WidthList\n1, 2);\n"
        "Define OffsetList\n(0, 0), (0, 0));\n";
    FontRecord extraRectangle =
        TextFont(lists + "Define RectList\n(0, 0, 1, 1), (1, 0, 1, 1), (2, 0, 1, 1));\n");
    EXPECT_FALSE(m_manager.ReadFontFile(extraRectangle));
    EXPECT_TRUE(extraRectangle.glyphs.empty());
    EXPECT_TRUE(LogHas("Error: Unequal number of characters data", "Red"));

    HtmlLog().Start();
    FontRecord noRowWidth =
        TextFont(lists + "Define RectList\n(0, 0, 1, 1), (1, 0, 1, 1));\n", 20, 0);
    EXPECT_FALSE(m_manager.ReadFontFile(noRowWidth));
    EXPECT_TRUE(noRowWidth.glyphs.empty());
    EXPECT_TRUE(LogHas("Error: Unequal number of characters data"));

    // A comma after the last offset pair carries its field step to the closing
    // line, whose ")" adds one pair more.
    HtmlLog().Start();
    FontRecord trailingComma = TextFont(
        "Define CharList\n'A', 'B');\nDefine WidthList\n1, 2);\n"
        "Define RectList\n(0, 0, 1, 1), (1, 0, 1, 1));\n"
        "Define OffsetList\n(0, 0),\n(0, 0),\n);\n");
    EXPECT_FALSE(m_manager.ReadFontFile(trailingComma));
    EXPECT_TRUE(LogHas("Error: Unequal number of characters data"));

    HtmlLog().Start();
    FontRecord kerning = TextFont(lists +
                                  "Define RectList\n(0, 0, 1, 1), (1, 0, 1, 1));\n"
                                  "Define KerningPairs\n\"AB\");\nDefine KerningValues\n1, 2);\n");
    EXPECT_FALSE(m_manager.ReadFontFile(kerning));
    EXPECT_EQ(kerning.glyphs.size(), 2u);
    EXPECT_TRUE(kerning.kerning.empty());
    EXPECT_TRUE(LogHas("Error: Unequal number of kerning data", "Red"));
    EXPECT_FALSE(LogHas("Complete"));

    HtmlLog().Start();
    FontRecord missing;
    missing.dataPath = "missing.txt";
    missing.maxLength = 64;
    EXPECT_FALSE(m_manager.ReadFontFile(missing));
    EXPECT_TRUE(LogHas("Couldn't open file", "Red"));
}

constexpr std::int32_t MAX = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t MIN = std::numeric_limits<std::int32_t>::min();

TEST_F(FontFileTest, EdgesBeyondTheRangeStopAtItsEnds) {
    // Numbers as a broken or hostile file gives them: sums that would overflow
    // stop at the ends of the 32-bit range.
    struct Case {
        const char* name;
        std::string rectangle;
        std::int32_t height;
        Expected glyph;
    };
    const std::vector<Case> cases = {
        {"left + width", "(255, 0, 2147483647, 20)", 20, {u'A', 255, 0, MAX, 20}},
        {"top + height", "(0, 2147483647, 4, 20)", 20, {u'A', 0, MAX, 4, MAX}},
        {"height x (x / m)", "(2147483647, 0, 4, 20)", MAX, {u'A', 255, MAX, 259, MAX}},
        {"negative height", "(0, -2147483648, 4, 20)", -1, {u'A', 0, MIN, 4, MIN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FontRecord font = TextFont(
            "Define CharList\n'A');\nDefine WidthList\n99999999999);\n"
            "Define RectList\n" +
                c.rectangle + ");\nDefine OffsetList\n(99999999999, -99999999999));\n",
            c.height);
        ASSERT_TRUE(m_manager.ReadFontFile(font));
        ASSERT_EQ(font.glyphs.size(), 1u);
        const GlyphRecord& g = font.glyphs[0];
        EXPECT_EQ(g.left, c.glyph.left);
        EXPECT_EQ(g.top, c.glyph.top);
        EXPECT_EQ(g.right, c.glyph.right);
        EXPECT_EQ(g.bottom, c.glyph.bottom);
    }
}

TEST_F(FontFileTest, StripEdgesBeyondTheRangeStopAtItsEnds) {
    struct Case {
        const char* name;
        std::string editing;
        std::int32_t height;
        Expected second;  // the glyph of B, on the second row
    };
    const std::vector<Case> cases = {
        {"corrections",
         "B 2147483647 2147483647|B 2147483647 2147483647",
         16,
         {u'B', MAX, 16, MAX, 31}},
        {"negative corrections",
         "B -2147483648 -2147483648|B -1 -1",
         16,
         {u'B', MIN, 16, MIN + 3, 31}},
        {"top + height - 1", "", MAX, {u'B', 0, MAX, 4, MAX}},
        {"negative height", "", MIN, {u'B', 0, MIN, 4, MIN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FontRecord font = StripFont("AB", {{0, 4}, {256, 4}});
        font.editing = c.editing;
        font.height = c.height;
        ASSERT_EQ(m_manager.ReadFontFiFile(font), 2);
        const GlyphRecord& g = font.glyphs[1];
        EXPECT_EQ(g.left, c.second.left);
        EXPECT_EQ(g.top, c.second.top);
        EXPECT_EQ(g.right, c.second.right);
        EXPECT_EQ(g.bottom, c.second.bottom);
        EXPECT_EQ(g.sheetX, 0);
    }
}

TEST_F(FontFileTest, StripGlyphsMoveToTheNextRowBeforeTheEnd) {
    FontRecord font = StripFont("ABCDE", {{0, 10}, {10, 240}, {250, 6}, {256, 10}, {500, 20}});
    EXPECT_EQ(m_manager.ReadFontFiFile(font), 5);
    // C would end exactly at the row's end: it and everything after it move on
    // by 6 pixels. E (506..526) would cross the next row's end and moves on too.
    ExpectGlyphs(font, {{u'A', 0, 0, 10, 15},
                        {u'B', 10, 0, 250, 15},
                        {u'C', 0, 16, 6, 31},
                        {u'D', 6, 16, 16, 31},
                        {u'E', 0, 32, 20, 47}});
    EXPECT_TRUE(LogHas("Initializing characters (strip.dat)", "Blue"));
    EXPECT_TRUE(LogHas("Complete", "Green"));
}

TEST_F(FontFileTest, StripCorrectionsMoveTheEdges) {
    FontRecord font = StripFont("AWB\xC3\xA9", {{0, 10}, {10, 10}, {20, 10}, {30, 10}});
    font.editing = "A 1 -2|W 0 3||B 5|A 1 1|\xC3\xA9 4 4";
    EXPECT_EQ(m_manager.ReadFontFiFile(font), 4);
    // Corrections of one character add up; "B 5" has too few numbers; only
    // ASCII characters can be corrected.
    ASSERT_EQ(font.glyphs.size(), 4u);
    EXPECT_EQ(font.glyphs[0].left, 2);
    EXPECT_EQ(font.glyphs[0].right, 9);
    EXPECT_EQ(font.glyphs[0].advance, 10);
    EXPECT_EQ(font.glyphs[1].left, 10);
    EXPECT_EQ(font.glyphs[1].right, 23);
    EXPECT_EQ(font.glyphs[2].left, 20);
    EXPECT_EQ(font.glyphs[2].right, 30);
    EXPECT_EQ(font.glyphs[3].character, u'\u00E9');
    EXPECT_EQ(font.glyphs[3].left, 30);
}

TEST_F(FontFileTest, StripGlyphCountIsTheShorterOfSymbolsAndWholeWords) {
    struct Case {
        std::string symbols;
        int words;
        std::string extra;
        int glyphs;
    };
    const std::vector<Case> cases = {
        {"ABCDE", 3, "", 3},
        {"AB", 3, "", 2},
        {"ABCDE", 3, "\x01\x02", 3},  // a partial last word is no glyph
        {std::string(5000, 'a'), 5000, "", 4095},
        // Only the first 4096 bytes of symbols are read: 2048 two-byte characters.
        {[] {
             std::string accents;
             for (int i = 0; i < 3000; ++i) {
                 accents += "\xC3\xA9";
             }
             return accents;
         }(),
         3000, "", 2048},
        {"ABC", 0, "", 0},
        {"", 3, "", 0},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int, int>> words;
        for (int i = 0; i < c.words; ++i) {
            words.emplace_back(i % 200, 1);
        }
        FontRecord font = StripFont(c.symbols, words, c.extra);
        EXPECT_EQ(m_manager.ReadFontFiFile(font), c.glyphs) << c.symbols.substr(0, 8);
        EXPECT_EQ(static_cast<int>(font.glyphs.size()), c.glyphs);
    }
}

TEST_F(FontFileTest, StripFilesThatDoNotOpen) {
    FontRecord font = StripFont("AB", {{0, 1}, {1, 1}});
    font.symbolsPath = "missing.txt";
    EXPECT_EQ(m_manager.ReadFontFiFile(font), 0);
    EXPECT_TRUE(LogHas("Couldn't open symbol file", "Red"));
    HtmlLog().Start();
    font.symbolsPath = "strip.txt";
    font.dataPath = "missing.dat";
    EXPECT_EQ(m_manager.ReadFontFiFile(font), 0);
    EXPECT_TRUE(LogHas("Couldn't open file", "Red"));
}

// Four glyphs on an 28 x 8 sheet: A red (advance 6), B green (8), C blue (10),
// D white (4); the third glyph makes a space 7 pixels wide.
const char* const FONT_TEXT =
    "Define CharList\n'A', 'B', 'C', 'D');\n"
    "Define WidthList\n6, 8, 10, 4);\n"
    "Define RectList\n(0, 0, 6, 8), (6, 0, 8, 8), (14, 0, 10, 8), (24, 0, 4, 8));\n"
    "Define OffsetList\n(0, 0), (0, 0), (0, 0), (0, 0));\n";

std::vector<std::uint32_t> SheetPixels() {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 28; ++x) {
            pixels.push_back(x < 6    ? 0xFFFF0000
                             : x < 14 ? 0xFF00FF00
                             : x < 24 ? 0xFF0000FF
                                      : 0xFFFFFFFF);
        }
    }
    return pixels;
}

// After NO_GLYPHS, which fails the font stage, no font would load.
enum FontIndex {
    PLAIN = 0,
    TRIMMED = 1,
    TWO_GLYPHS = 2,
    WIDE_TRIM = 3,
    REPEATS = 4,
    NO_GLYPHS = 5,
    FONT_COUNT = 6
};

class TextTest : public ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        ASSERT_NE(Device(), nullptr);
        m_device = std::make_unique<CRecordingDevice>(Device());
        WritePng("Resources/sheet.png", 28, 8, SheetPixels());
        WriteFile("Resources/font.txt", FONT_TEXT);
        WriteFile("Resources/two.txt",
                  "Define CharList\n'A', 'B');\nDefine WidthList\n6, 8);\n"
                  "Define RectList\n(0, 0, 6, 8), (6, 0, 8, 8));\n"
                  "Define OffsetList\n(0, 0), (0, 0));\n");
        // A twice (the first is red, 6 wide; the second blue, 10 wide), and
        // the euro sign on a page of characters of its own.
        WriteFile("Resources/repeats.txt",
                  "Define CharList\n'A', 'B', 'A', '\xE2\x82\xAC');\n"
                  "Define WidthList\n6, 8, 10, 4);\n"
                  "Define RectList\n(0, 0, 6, 8), (6, 0, 8, 8), (14, 0, 10, 8), (24, 0, 4, 8));\n"
                  "Define OffsetList\n(0, 0), (0, 0), (0, 0), (0, 0));\n");
        WriteFile("Resources/none.txt", "no sections at all\n");
        WriteIndex(R"(<Resources><SetDefaults path="Resources/"/>
<Font id="PLAIN" path="sheet.png" data_path="font.txt" height="8" max_length="64"/>
<Font id="TRIMMED" path="sheet.png" data_path="font.txt" height="8" max_length="64" kerning="2" interval="1"/>
<Font id="TWO" path="sheet.png" data_path="two.txt" height="8" max_length="64"/>
<Font id="WIDE_TRIM" path="sheet.png" data_path="font.txt" height="8" max_length="64" kerning="-2147483648"/>
<Font id="REPEATS" path="sheet.png" data_path="repeats.txt" height="8" max_length="64"/>
<Font id="NONE" path="sheet.png" data_path="none.txt" height="8" max_length="64"/>
</Resources>)");
        m_manager.Initialize(nullptr, m_device.get(), 0.5f, 0.5f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f,
                             0.0f);
        ASSERT_EQ(m_manager.Fonts().size(), static_cast<std::size_t>(FONT_COUNT));
        ASSERT_EQ(m_manager.Fonts()[NO_GLYPHS].glyphs.size(), 0u);
        ASSERT_NE(m_manager.Fonts()[NO_GLYPHS].texture, nullptr);
        m_device->draws.clear();
    }

    void TearDown() override {
        m_manager.Release();
        ScratchFolderTest::TearDown();
    }

    // The glyph draws of one DrawText: where each went and what it cut.
    struct GlyphDraw {
        float x, y;
        backend::Rect source;
    };
    std::vector<GlyphDraw> Draw(std::int32_t font, std::u16string_view text, Vec2 position,
                                bool centreX = false, bool centreY = false,
                                float letterSpacing = 0.0f, float lineSpacing = 0.0f,
                                bool snap = true, Vec2 scaling = {1.0f, 1.0f}) {
        m_device->draws.clear();
        EXPECT_EQ(m_manager.DrawText(font, text, scaling, position, 0xFFFFFFFF, centreX, centreY,
                                     letterSpacing, lineSpacing, snap),
                  RESULT_OK);
        std::vector<GlyphDraw> draws;
        for (const auto& drawn : m_device->draws) {
            draws.push_back({drawn.draw.translation.x, drawn.draw.translation.y, drawn.source});
        }
        return draws;
    }

    CResourceManager m_manager;
    std::unique_ptr<CRecordingDevice> m_device;
};

TEST_F(TextTest, WidthOfTextAndLines) {
    struct Case {
        std::int32_t font;
        std::u16string text;
        float spacing;
        bool scaled;
        std::int32_t line;
        float width;
    };
    const std::vector<Case> cases = {
        {PLAIN, u"", 0, false, -1, 0},
        {PLAIN, u"AB", 0, false, -1, 14},
        {PLAIN, u"A B", 0, false, -1, 21},  // a space is 0.7 of C's 10
        {PLAIN, u"AB\nCD", 0, false, 0, 14},
        {PLAIN, u"AB\nCD", 0, false, 1, 14},
        {PLAIN, u"AB\nCD", 0, false, -1, 28},
        {PLAIN, u"AB\nCD", 0, false, 2, 0},
        {PLAIN, u"AxB", 0, false, -1, 14},  // x is not in the font
        {PLAIN, std::u16string(u"A\0B", 3), 0, false, -1, 14},
        {PLAIN, u"AB", 2, false, -1, 18},
        {PLAIN, u" ", 2, false, -1, 8},  // trunc(12 x 0.7)
        {PLAIN, u"AB", 0, true, -1, 7},  // screen scale 0.5: 3 + 4
        {PLAIN, u" ", 0, true, -1, 3},
        {TRIMMED, u"AB", 0, false, -1, 16},  // the interval adds 1 a glyph
        {TWO_GLYPHS, u"A A", 0, false, -1, 12},
        {NO_GLYPHS, u"A B\nC", 0, false, -1, 0},
        {-1, u"AB", 0, false, -1, -1},
        {FONT_COUNT, u"AB", 0, false, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(m_manager.GetTextWidth(c.font, c.text, c.spacing, c.scaled, c.line),
                        c.width)
            << "font " << c.font << " line " << c.line << " spacing " << c.spacing;
    }
    EXPECT_EQ(m_manager.GetFontLineHeight(PLAIN), 8);
    EXPECT_EQ(m_manager.GetFontLineHeight(NO_GLYPHS), -1);
    EXPECT_EQ(m_manager.GetFontLineHeight(7), -1);
}

TEST_F(TextTest, GlyphsAdvanceByWholePixels) {
    auto draws = Draw(PLAIN, u"AB", {10.7f, 20.6f}, false, false, 0, 0, false);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].x, 10.0f);
    EXPECT_FLOAT_EQ(draws[0].y, 20.6f);  // y is kept without snapping
    EXPECT_EQ(draws[0].source.left, 0);
    EXPECT_EQ(draws[0].source.right, 6);
    EXPECT_FLOAT_EQ(draws[1].x, 16.0f);
    EXPECT_EQ(draws[1].source.left, 6);
    EXPECT_EQ(draws[1].source.right, 14);

    struct Case {
        std::u16string text;
        float spacing;
        Vec2 scaling;
        std::vector<float> xs;
    };
    const std::vector<Case> cases = {
        {u"AxB", 0, {1, 1}, {10, 16}},     // a missing character does not move the pen
        {u"A B", 0, {1, 1}, {10, 23}},     // 6 + 7
        {u"AB", 1, {1, 1}, {10, 17}},      // letter spacing
        {u"AB", 0, {1.5f, 1}, {10, 19}},   // trunc(6 x 1.5)
        {u"A B", 0, {1.5f, 1}, {10, 29}},  // 9 + trunc(10 x 1.5 x 0.7)
    };
    for (const Case& c : cases) {
        draws = Draw(PLAIN, c.text, {10.2f, 20.6f}, false, false, c.spacing, 0, true, c.scaling);
        ASSERT_EQ(draws.size(), c.xs.size());
        for (std::size_t i = 0; i < draws.size(); ++i) {
            EXPECT_FLOAT_EQ(draws[i].x, c.xs[i]) << "glyph " << i;
            EXPECT_FLOAT_EQ(draws[i].y, 20.0f);
        }
    }
    // The text ends at its first zero.
    EXPECT_EQ(Draw(PLAIN, std::u16string_view(u"A\0B", 3), {0, 0}).size(), 1u);
}

TEST_F(TextTest, LinesAndCentring) {
    // Each line centres on x by its own width; line feeds advance by the first
    // glyph's height plus the line spacing.
    auto draws = Draw(PLAIN, u"AB\nD", {100.0f, 50.0f}, true, false, 0, 2);
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_FLOAT_EQ(draws[0].x, 93.0f);
    EXPECT_FLOAT_EQ(draws[0].y, 50.0f);
    EXPECT_FLOAT_EQ(draws[1].x, 99.0f);
    EXPECT_FLOAT_EQ(draws[2].x, 98.0f);
    EXPECT_FLOAT_EQ(draws[2].y, 60.0f);

    // Centring on y moves the whole text up by half of one line.
    draws = Draw(PLAIN, u"A\nA", {100.0f, 50.0f}, false, true, 0, 2, false, {1, 2});
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].y, 40.0f);  // (8 + 2) x 2 x 0.5
    EXPECT_FLOAT_EQ(draws[1].y, 60.0f);
}

TEST_F(TextTest, KerningTrimNarrowsTheGlyphsNotTheAdvance) {
    m_device->Clear(0xFF000000);
    const auto draws = Draw(TRIMMED, u"AB", {10, 10});
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].source.right, 4);
    EXPECT_EQ(draws[1].source.left, 6);
    EXPECT_EQ(draws[1].source.right, 12);
    EXPECT_FLOAT_EQ(draws[1].x, 17.0f);  // 6 + the interval
    const auto screen = ReadScreen(m_device.get());
    EXPECT_TRUE(RgbNear(PixelAt(screen, 13, 12), 0xFF0000));
    EXPECT_TRUE(RgbNear(PixelAt(screen, 15, 12), 0x000000));
    EXPECT_TRUE(RgbNear(PixelAt(screen, 17, 12), 0x00FF00));
    EXPECT_TRUE(RgbNear(PixelAt(screen, 22, 12), 0x00FF00));
    EXPECT_TRUE(RgbNear(PixelAt(screen, 23, 12), 0x000000));
}

TEST_F(TextTest, ATrimBeyondTheRangeKeepsTheDrawInsideTheSheet) {
    // Taking the least 32-bit number off the right edge would overflow: the
    // edge stops at the range's end, and the device cuts it at the sheet's.
    m_device->Clear(0xFF000000);
    const auto draws = Draw(WIDE_TRIM, u"A", {10, 10});
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].source.left, 0);
    EXPECT_EQ(draws[0].source.right, std::numeric_limits<std::int32_t>::max());
    const auto screen = ReadScreen(m_device.get());
    EXPECT_TRUE(RgbNear(PixelAt(screen, 10, 12), 0xFF0000));
    EXPECT_TRUE(RgbNear(PixelAt(screen, 37, 12), 0xFFFFFF));  // the sheet's last column
    EXPECT_TRUE(RgbNear(PixelAt(screen, 38, 12), 0x000000));
}

TEST_F(TextTest, EachCharacterDrawsWithItsFirstGlyph) {
    struct Case {
        std::u16string text;
        float width;
    };
    const std::vector<Case> cases = {
        {u"AA", 12},            // the first A, 6 wide, twice
        {u"B\u20AC", 12},       // a character on a page of its own
        {u"Z\u0100\uFFFF", 0},  // on a page with glyphs, and on pages without
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(m_manager.GetTextWidth(REPEATS, c.text, 0, false, -1), c.width);
    }
    const auto draws = Draw(REPEATS, u"A\u20ACA", {0, 0});
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].source.left, 0);
    EXPECT_EQ(draws[0].source.right, 6);
    EXPECT_EQ(draws[1].source.left, 24);
    EXPECT_FLOAT_EQ(draws[2].x, 10.0f);
    EXPECT_EQ(draws[2].source.right, 6);
}

TEST_F(TextTest, TextPixelsTakeTheMaskedColour) {
    m_device->Clear(0xFF000000);
    m_manager.SetBrightness(128.0f);
    Draw(PLAIN, u"AD", {10, 10});
    const auto screen = ReadScreen(m_device.get());
    EXPECT_TRUE(RgbNear(PixelAt(screen, 12, 12), 0x800000));
    EXPECT_TRUE(RgbNear(PixelAt(screen, 17, 12), 0x808080));
    EXPECT_EQ(m_device->draws[0].draw.colour, 0xFF808080u);
}

TEST_F(TextTest, FontsWithoutTheirFirstGlyphsDrawNoSpacesOrLines) {
    // Fewer than three glyphs: no space advance, in drawing as in measuring.
    auto draws = Draw(TWO_GLYPHS, u"A A", {10, 10});
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[1].x, 16.0f);
    EXPECT_FLOAT_EQ(draws[1].x - draws[0].x,
                    m_manager.GetTextWidth(TWO_GLYPHS, u"A ", 0, false, -1));

    // No glyphs: line feeds and centring leave the pen where it is.
    draws = Draw(NO_GLYPHS, u" \nA\n", {10, 10}, true, true, 0, 0);
    EXPECT_TRUE(draws.empty());

    m_device->draws.clear();
    EXPECT_EQ(m_manager.DrawText(-1, u"A", {1, 1}, {0, 0}, 0xFFFFFFFF, false, false, 0, 0, true),
              RESULT_FAIL);
    EXPECT_EQ(
        m_manager.DrawText(FONT_COUNT, u"A", {1, 1}, {0, 0}, 0xFFFFFFFF, false, false, 0, 0, true),
        RESULT_FAIL);
    EXPECT_TRUE(m_device->draws.empty());
}

}  // namespace
