#pragma once
// The front end's tests run the real resource manager on the fake render
// device in a scratch working folder, with a language table of their own and
// a test font whose glyphs are told apart by their sheet column.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/media_world.h"
#include "engine/platform/text_storage.h"

namespace frontend_test {

// Every glyph of the test font is GLYPH_ADVANCE pixels wide and sits in its
// own column of the sheet, so a recorded draw names its character.
inline constexpr int GLYPH_ADVANCE = 10;
inline const std::u16string FONT_CHARACTERS = u"0123456789.ABCDEFGHIJKLMNOPQRSTUVWXYZ";

struct DrawnGlyph {
    char16_t character = 0;
    float x = 0.0f;
    float y = 0.0f;
    std::uint32_t colour = 0;
};

class FrontendWorldTest : public media_test::MediaWorldTest {
protected:
    void SetUp() override {
        MediaWorldTest::SetUp();
        WriteLanguage("English", "Nobody yet");
        Start("<Resources></Resources>");
    }

    void TearDown() override {
        TextStorage().Clear();
        MediaWorldTest::TearDown();
    }

    static void WriteLanguage(const std::string& language, const std::string& placeholder) {
        resource_test::WriteFile("Resources/Data/language.xml",
                                 "<Languages><Language current=\"" + language + "\"/><" + language +
                                     " text_data=\"texts.xml\"/></Languages>");
        resource_test::WriteFile(
            "Resources/Data/texts.xml",
            "<Texts><text id=\"EMPTY_RECORD\" data=\"" + placeholder + "\"/></Texts>");
        ASSERT_TRUE(TextStorage().Initialize());
    }

    // Appends the test font to the font list; its index.
    std::int32_t AddFont() {
        FontRecord font;
        font.id = "TEST_FONT";
        font.texture = new media_test::CFakeTexture(1024, 32);  // released by Release
        for (std::size_t i = 0; i < FONT_CHARACTERS.size(); ++i) {
            GlyphRecord glyph;
            glyph.character = FONT_CHARACTERS[i];
            glyph.advance = GLYPH_ADVANCE;
            glyph.height = 20;
            glyph.left = static_cast<int>(i) * GLYPH_ADVANCE;
            glyph.right = glyph.left + GLYPH_ADVANCE;
            glyph.bottom = 20;
            font.glyphs.push_back(glyph);
        }
        font.glyphIndex.Build(font.glyphs);
        Resources().Fonts().push_back(font);
        return static_cast<std::int32_t>(Resources().Fonts().size()) - 1;
    }

    // The glyph draws recorded so far, in order.
    std::vector<DrawnGlyph> Glyphs() const {
        std::vector<DrawnGlyph> glyphs;
        for (const media_test::RecordedDraw& draw : device.draws) {
            if (!draw.source) {
                continue;
            }
            const auto column = static_cast<std::size_t>(draw.source->left / GLYPH_ADVANCE);
            glyphs.push_back(
                {FONT_CHARACTERS.at(column), draw.translation.x, draw.translation.y, draw.colour});
        }
        return glyphs;
    }
};

}  // namespace frontend_test
