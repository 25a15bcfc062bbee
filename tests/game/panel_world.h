#pragma once
// The session's panels drawn for real through the resource manager on the
// fake render device: a language table written for the test, the samples the
// panels play, two fonts whose glyphs can be read back from the draws, and
// the atlas pictures the hint windows use.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/media/media_world.h"
#include "engine/platform/text_storage.h"

namespace panel_test {

// Every glyph is GLYPH_ADVANCE wide and sits at its position in GLYPHS along
// the sheet, so a draw's source rectangle names its character.
inline constexpr char16_t GLYPHS[] = u"0123456789$-:_/ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr int GLYPH_ADVANCE = 10;
inline constexpr int GLYPH_HEIGHT = 20;

// One run of glyphs as a text call drew it.
struct DrawnText {
    int font = -1;
    std::u16string text;
    float x = 0.0f;  // of the first glyph
    float y = 0.0f;
    float scale = 0.0f;
    std::uint32_t colour = 0;
};

class PanelWorldTest : public media_test::MediaWorldTest {
protected:
    void TearDown() override {
        TextStorage().Clear();
        MediaWorldTest::TearDown();
    }

    // The language and its texts (id, UTF-8 text), every sample up to
    // `samples` - 1, the fonts 0 and 1 and the pictures "GUI" and "UPGRADES".
    void StartWorld(const std::string& language,
                    const std::vector<std::pair<std::string, std::string>>& texts,
                    int samples = 44) {
        UseLanguage(language, texts);
        std::string index = "<Resources>";
        for (int i = 0; i < samples; ++i) {
            index += "<Sample id=\"S" + std::to_string(i) + "\" path=\"s.wav\"/>";
        }
        Start(index + "</Resources>");
        for (int font = 0; font < 2; ++font) {
            AddFont();
        }
        gui = AddImage("GUI", 513, 513);
        upgrades = AddImage("UPGRADES", 513, 490);
        // At full brightness, whatever fade a test before left behind.
        Resources().SetBrightness(255.0f);
        device.draws.clear();
    }

    // Replaces the language table.
    static void UseLanguage(const std::string& language,
                            const std::vector<std::pair<std::string, std::string>>& texts) {
        std::string entries;
        for (const auto& [id, text] : texts) {
            entries += "<text id=\"" + id + "\" data=\"" + text + "\"/>";
        }
        resource_test::WriteFile("Resources/Data/language.xml",
                                 "<Languages><Language current=\"" + language + "\"/><" + language +
                                     " text_data=\"texts.xml\"/></Languages>");
        resource_test::WriteFile("Resources/Data/texts.xml", "<texts>" + entries + "</texts>");
        TextStorage().Clear();
        ASSERT_TRUE(TextStorage().Initialize());
        ASSERT_EQ(TextStorage().GetLanguage(), language);
    }

    // Times sample `index` has been started.
    int Plays(int index) {
        return audio.channels[Resources().Samples().at(static_cast<std::size_t>(index)).channel]
            .plays;
    }

    // The glyph draws, put together into one text per run of glyphs that
    // follow each other on a line in one font, size and colour.
    std::vector<DrawnText> DrawnTexts() {
        std::vector<DrawnText> texts;
        float nextMinX = 0.0f;
        float nextMaxX = 0.0f;
        for (const media_test::RecordedDraw& draw : device.draws) {
            const int font = FontOf(draw.texture);
            if (font < 0 || !draw.source) {
                continue;
            }
            const char16_t c = GLYPHS[draw.source->left / GLYPH_ADVANCE];
            const float x = draw.translation.x;
            const bool same = !texts.empty() && texts.back().font == font &&
                              texts.back().y == draw.translation.y &&
                              texts.back().scale == draw.scale.x &&
                              texts.back().colour == draw.colour && x >= nextMinX && x <= nextMaxX;
            if (!same) {
                texts.push_back({font, u"", x, draw.translation.y, draw.scale.x, draw.colour});
            }
            texts.back().text += c;
            // The next glyph of the run follows within two advances (a space).
            nextMinX = x + 1.0f;
            nextMaxX = x + 2.0f * (GLYPH_ADVANCE + 2.0f) * draw.scale.x;
        }
        return texts;
    }

    // The draws of one picture, in order.
    std::vector<media_test::RecordedDraw> DrawsOf(std::int32_t image) {
        std::vector<media_test::RecordedDraw> draws;
        for (const media_test::RecordedDraw& draw : device.draws) {
            if (draw.texture == Resources().Images()[static_cast<std::size_t>(image)].texture) {
                draws.push_back(draw);
            }
        }
        return draws;
    }

    std::int32_t gui = -1;
    std::int32_t upgrades = -1;

private:
    void AddFont() {
        FontRecord font;
        font.id = "FONT" + std::to_string(Resources().Fonts().size());
        const int count = static_cast<int>(std::char_traits<char16_t>::length(GLYPHS));
        font.texture = new media_test::CFakeTexture(count * GLYPH_ADVANCE, GLYPH_HEIGHT);
        for (int i = 0; i < count; ++i) {
            GlyphRecord glyph;
            glyph.character = GLYPHS[i];
            glyph.advance = GLYPH_ADVANCE;
            glyph.height = GLYPH_HEIGHT;
            glyph.left = i * GLYPH_ADVANCE;
            glyph.right = glyph.left + GLYPH_ADVANCE;
            glyph.bottom = GLYPH_HEIGHT;
            font.glyphs.push_back(glyph);
        }
        font.glyphIndex.Build(font.glyphs);
        Resources().Fonts().push_back(font);
    }

    int FontOf(const backend::ITexture* texture) {
        for (std::size_t i = 0; i < Resources().Fonts().size(); ++i) {
            if (Resources().Fonts()[i].texture == texture) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
};

}  // namespace panel_test
