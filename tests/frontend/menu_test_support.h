#pragma once
// The menu's tests: the real resource manager on the fake render and audio
// devices in a scratch working folder, with pictures, a font, the hover and
// click samples and a language table of the test's own; a command sink that
// records every command and may call back into the menu; and input frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/media/media_world.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "frontend/menu.h"

namespace menu_test {

// Records the commands in order; `onCommand` runs inside the send, as the
// game application's handler does.
class CRecordingSink : public IMenuCommandSink {
public:
    void SendMenuCommand(std::uint32_t command, std::intptr_t value) override {
        commands.emplace_back(command, value);
        if (onCommand) {
            onCommand(command, value);
        }
    }
    std::vector<std::pair<std::uint32_t, std::intptr_t>> commands;
    std::function<void(std::uint32_t, std::intptr_t)> onCommand;
};

// The font of the tests: glyph 0 is '0' with advance 20, every other digit,
// letter and 'x' advances 30, the interval is 2 and every glyph is 20 high.
// Glyph i stands in sheet column i x 16, so a draw names its character.
inline const std::u16string FONT_CHARACTERS = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZx!";
inline constexpr int FONT_FIRST_ADVANCE = 20;
inline constexpr int FONT_LETTER_ADVANCE = 30;
inline constexpr float FONT_INTERVAL = 2.0f;
inline constexpr int FONT_HEIGHT = 20;

class MenuTest : public media_test::MediaWorldTest {
protected:
    void SetUp() override {
        MediaWorldTest::SetUp();
        WriteTexts();
        Start("<Resources></Resources>");
        Resources().SetBrightness(255.0f);
        button = AddImage("BUTTON", 206, 183);
        AddImage("EMPTY", 0, 0);
        font = AddFont();
        for (int i = 0; i < 2; ++i) {
            SampleRecord record;
            record.path = "sample" + std::to_string(i) + ".wav";
            std::tie(record.sample, record.channel) =
                Resources().GetSoundManager().LoadSample(record.path);
            Resources().Samples().push_back(record);
        }
        device.draws.clear();
    }

    void TearDown() override {
        TextStorage().Clear();
        MediaWorldTest::TearDown();
    }

    static void WriteTexts() {
        resource_test::WriteFile("Resources/Data/language.xml",
                                 "<Languages><Language current=\"English\"/>"
                                 "<English text_data=\"texts.xml\"/></Languages>");
        resource_test::WriteFile("Resources/Data/texts.xml",
                                 "<Texts><text id=\"AB\" data=\"A B\"/>"
                                 "<text id=\"HI\" data=\"HI \"/>"
                                 "<text id=\"VERSION\" data=\"V\"/>"
                                 "<text id=\"COPYRIGHT\" data=\"C\"/></Texts>");
        ASSERT_TRUE(TextStorage().Initialize());
    }

    std::int32_t AddFont() {
        FontRecord record;
        record.id = "FONT";
        record.texture = new media_test::CFakeTexture(512, 32);  // released by Release
        record.interval = FONT_INTERVAL;
        const std::u16string& characters = FONT_CHARACTERS;
        for (std::size_t i = 0; i < characters.size(); ++i) {
            GlyphRecord glyph;
            glyph.character = characters[i];
            glyph.advance = i == 0 ? FONT_FIRST_ADVANCE : FONT_LETTER_ADVANCE;
            glyph.height = FONT_HEIGHT;
            glyph.left = static_cast<int>(i) * 16;
            glyph.right = glyph.left + 16;
            glyph.bottom = FONT_HEIGHT;
            record.glyphs.push_back(glyph);
        }
        record.glyphIndex.Build(record.glyphs);
        Resources().Fonts().push_back(record);
        return static_cast<std::int32_t>(Resources().Fonts().size()) - 1;
    }

    // Writes menu.xml with this body inside its root element and loads it.
    // The game's reader takes double quotes only; the tests write single
    // ones for readability.
    bool Load(std::string body) {
        std::replace(body.begin(), body.end(), '\'', '"');
        resource_test::WriteFile("Resources/Data/menu.xml", "<Menu>" + body + "</Menu>");
        return menu.Load();
    }

    const MenuItem& Item(const std::string& id) {
        const MenuItem* item = menu.FindItem(id);
        EXPECT_NE(item, nullptr) << id;
        static const MenuItem none;
        return item != nullptr ? *item : none;
    }
    MenuItem& Edit(const std::string& id) { return *menu.FindItem(id); }

    // One frame with the mouse at (x, y); button 0 down now and before as
    // given.
    bool Frame(float x, float y, bool down = false, bool wasDown = false, float elapsed = 0.0f) {
        InputState input;
        input.cursorX = x;
        input.cursorY = y;
        input.currentMouse.buttons[0] = down ? 0x80 : 0;
        input.previousMouse.buttons[0] = wasDown ? 0x80 : 0;
        return menu.Update(sink, input, elapsed);
    }
    // A press and a release at (x, y) in two frames.
    bool Click(float x, float y) {
        Frame(x, y, true, false);
        return Frame(x, y, false, true);
    }

    int SamplePlays(int sample) {
        return audio.channels[Resources().Samples()[static_cast<std::size_t>(sample)].channel]
            .plays;
    }

    // The draws of one image, in order.
    std::vector<media_test::RecordedDraw> DrawsOf(std::int32_t image) const {
        std::vector<media_test::RecordedDraw> found;
        for (const media_test::RecordedDraw& draw : device.draws) {
            if (draw.texture == Resources().Images()[static_cast<std::size_t>(image)].texture) {
                found.push_back(draw);
            }
        }
        return found;
    }
    // The glyph draws, in order.
    std::vector<media_test::RecordedDraw> Glyphs() const {
        std::vector<media_test::RecordedDraw> found;
        for (const media_test::RecordedDraw& draw : device.draws) {
            if (draw.texture == Resources().Fonts()[static_cast<std::size_t>(font)].texture) {
                found.push_back(draw);
            }
        }
        return found;
    }

    // The characters of the glyph draws, in order.
    std::u16string GlyphText() const {
        std::u16string text;
        for (const media_test::RecordedDraw& draw : Glyphs()) {
            text += FONT_CHARACTERS.at(static_cast<std::size_t>(draw.source->left / 16));
        }
        return text;
    }

    CMenu menu;
    CRecordingSink sink;
    std::int32_t button = -1;
    std::int32_t font = -1;
};

}  // namespace menu_test
