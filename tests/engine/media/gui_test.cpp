#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/media/gui_button.h"
#include "engine/media/gui_image.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "media_world.h"

namespace {

constexpr Vec2 kScreenScale{2.0f, 1.5f};

InputState CursorAt(float x, float y) {
    InputState input;
    input.cursorX = x;
    input.cursorY = y;
    return input;
}

// A hover rectangle of 40 x 20 design pixels at (100, 50): window pixels 200
// to 280 across and 75 to 105 down at the screen scale above.
GuiImageDesc Panel() {
    GuiImageDesc desc;
    desc.x = 100.0f;
    desc.y = 50.0f;
    desc.hoverX = 100.0f;
    desc.hoverY = 50.0f;
    desc.hoverRight = 40;
    desc.hoverBottom = 20;
    return desc;
}

TEST(GuiImageTest, HoverAreaTable) {
    struct Case {
        const char* name;
        float scaleX;
        float scaleY;
        int marginLeft;
        int marginRight;
        float offsetX;
        float cursorX;
        float cursorY;
        bool hovered;
    };
    const Case cases[] = {
        {"inside", 1.0f, 1.0f, 0, 0, 0.0f, 240.0f, 90.0f, true},
        {"on the left and top edges", 1.0f, 1.0f, 0, 0, 0.0f, 200.0f, 75.0f, true},
        {"on the right and bottom edges", 1.0f, 1.0f, 0, 0, 0.0f, 280.0f, 105.0f, true},
        {"just left of it", 1.0f, 1.0f, 0, 0, 0.0f, 199.5f, 90.0f, false},
        {"just below it", 1.0f, 1.0f, 0, 0, 0.0f, 240.0f, 105.5f, false},
        {"a negative left margin widens it", 1.0f, 1.0f, -5, 0, 0.0f, 191.0f, 90.0f, true},
        {"a positive right margin widens it", 1.0f, 1.0f, 0, 5, 0.0f, 289.0f, 90.0f, true},
        {"a scale stretches it", 2.0f, 1.0f, 0, 0, 0.0f, 359.0f, 90.0f, true},
        {"the offset moves it", 1.0f, 1.0f, 0, 0, 50.0f, 370.0f, 90.0f, true},
        {"the offset moves it away", 1.0f, 1.0f, 0, 0, 50.0f, 240.0f, 90.0f, false},
        {"mirrored, it lies left of its position", -1.0f, 1.0f, 0, 0, 0.0f, 150.0f, 90.0f, true},
        {"mirrored, not right of it", -1.0f, 1.0f, 0, 0, 0.0f, 240.0f, 90.0f, false},
        // Window pixels 30 to 75 down: the area lies above its position.
        {"mirrored vertically, it lies above its position", 1.0f, -1.0f, 0, 0, 0.0f, 240.0f, 60.0f,
         true},
        {"mirrored vertically, not below it", 1.0f, -1.0f, 0, 0, 0.0f, 240.0f, 90.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GuiImageDesc desc = Panel();
        desc.scaleX = c.scaleX;
        desc.scaleY = c.scaleY;
        desc.marginLeft = c.marginLeft;
        desc.marginRight = c.marginRight;
        CGuiImage image;
        image.Create(desc);
        image.offsetX = c.offsetX;
        image.UpdateHover(CursorAt(c.cursorX, c.cursorY), kScreenScale);
        EXPECT_EQ(image.hovered, c.hovered);
    }
}

class GuiTest : public media_test::MediaWorldTest {
protected:
    void SetUp() override {
        MediaWorldTest::SetUp();
        Start(R"(<Resources>
              <Sample id="HOVER" path="hover.wav"/>
              <Sample id="CLICK" path="click.wav"/>
            </Resources>)");
        panel = AddImage("PANEL", 64, 64);
        glow = AddImage("GLOW", 64, 64);
    }

    int Plays(int sample) { return audio.channels[Resources().Samples()[sample].channel].plays; }
    // Stops both sounds so that a new play is never held back by the guard
    // against restarting a sample in its first instant.
    void Quiet() {
        for (const SampleRecord& record : Resources().Samples()) {
            audio.channels[record.channel].state = backend::ChannelState::Stopped;
        }
    }

    std::int32_t panel = -1;
    std::int32_t glow = -1;
};

TEST_F(GuiTest, AnImageDrawsItsHoverImageOverItWhileHovered) {
    GuiImageDesc desc = Panel();
    desc.imageId = "PANEL";
    desc.hoverImageId = "GLOW";
    CGuiImage image;
    image.Create(desc);
    EXPECT_EQ(image.image, panel);
    EXPECT_EQ(image.hoverImage, glow);

    // A source rectangle of zeros draws the whole picture.
    image.Draw(&device, kScreenScale, true, 0xFFFFFFFF, true);
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_FALSE(device.draws[0].source.has_value());

    image.offsetX = 0.3f;
    image.UpdateHover(CursorAt(240.0f, 90.0f), kScreenScale);
    ASSERT_TRUE(image.hovered);
    image.Draw(&device, kScreenScale, true, 0xFFFFFFFF, true);
    ASSERT_EQ(device.draws.size(), 3u);
    // Snapped to whole pixels; the hover image is added to the screen.
    EXPECT_FLOAT_EQ(device.draws[1].translation.x, 200.0f);
    EXPECT_EQ(device.draws[2].texture, Resources().Images()[glow].texture);
    EXPECT_EQ(device.draws[2].source->right, 40);
    EXPECT_EQ(device.draws[2].blend, backend::BlendMode::Additive);
    image.additiveHover = false;
    image.Draw(&device, kScreenScale, false, 0xFFFFFFFF, true);
    ASSERT_EQ(device.draws.size(), 5u);
    EXPECT_FLOAT_EQ(device.draws[3].translation.x, 200.6f);
    EXPECT_EQ(device.draws[4].blend, backend::BlendMode::Alpha);
    image.Draw(&device, kScreenScale, false, 0xFFFFFFFF, false);
    EXPECT_EQ(device.draws.size(), 6u);

    // Without a hover image it still lights up, and draws only itself.
    desc.hoverImageId.clear();
    image.Create(desc);
    EXPECT_EQ(image.hoverImage, -1);
    image.UpdateHover(CursorAt(240.0f, 90.0f), kScreenScale);
    EXPECT_TRUE(image.hovered);
    image.Draw(&device, kScreenScale, false, 0xFFFFFFFF, true);
    EXPECT_EQ(device.draws.size(), 7u);

    // Without a picture of its own, a hovered element still shows its hover
    // picture.
    desc.imageId.clear();
    desc.hoverImageId = "GLOW";
    image.Create(desc);
    EXPECT_EQ(image.image, -1);
    image.UpdateHover(CursorAt(240.0f, 90.0f), kScreenScale);
    image.Draw(&device, kScreenScale, false, 0xFFFFFFFF, true);
    ASSERT_EQ(device.draws.size(), 8u);
    EXPECT_EQ(device.draws[7].texture, Resources().Images()[glow].texture);
    EXPECT_EQ(device.draws[7].blend, backend::BlendMode::Additive);
}

GuiButtonDesc Button(bool clickOnRelease) {
    GuiButtonDesc desc;
    desc.x = 100.0f;
    desc.y = 50.0f;
    desc.captionId = "NO_SUCH_TEXT";
    desc.normalImageId = "PANEL";
    desc.normalRight = 40;
    desc.normalBottom = 20;
    desc.hoverImageId = "GLOW";
    desc.hoverRight = 40;
    desc.hoverBottom = 20;
    desc.hoverOffsetX = 3.0f;
    desc.clickOnRelease = clickOnRelease;
    return desc;
}

// One frame of input: the cursor and whether the left button was down in the
// previous and in the current poll.
InputState Frame(float x, bool wasDown, bool isDown) {
    InputState input = CursorAt(x, 90.0f);
    input.previousMouse.buttons[0] = wasDown ? 0x80 : 0;
    input.currentMouse.buttons[0] = isDown ? 0x80 : 0;
    return input;
}

TEST_F(GuiTest, AMirroredButtonIsHitOnTheOtherSideOfItsPosition) {
    // The hover rectangle is 80 x 30 window pixels, placed at (200, 75).
    struct Case {
        const char* name;
        float scaleX;
        float scaleY;
        float cursorX;
        float cursorY;
        bool hovered;
    };
    const Case cases[] = {
        {"plain", 1.0f, 1.0f, 240.0f, 90.0f, true},
        {"mirrored across, left of it", -1.0f, 1.0f, 150.0f, 90.0f, true},
        {"mirrored across, not right of it", -1.0f, 1.0f, 240.0f, 90.0f, false},
        {"mirrored vertically, above it", 1.0f, -1.0f, 240.0f, 60.0f, true},
        {"mirrored vertically, not below it", 1.0f, -1.0f, 240.0f, 90.0f, false},
        {"mirrored both ways", -1.0f, -1.0f, 150.0f, 60.0f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GuiButtonDesc desc = Button(true);
        desc.scaleX = c.scaleX;
        desc.scaleY = c.scaleY;
        CGuiButton button;
        button.Create(desc);
        InputState input = CursorAt(c.cursorX, c.cursorY);
        button.CheckClick(input, kScreenScale);
        EXPECT_EQ(button.hovered, c.hovered);
    }
}

TEST_F(GuiTest, ButtonClickModesAndTheirSounds) {
    struct Step {
        float x;
        bool wasDown;
        bool isDown;
        bool click;
        bool pressed;
        int hoverSounds;  // counted from the start
        int clickSounds;
    };
    struct Case {
        const char* name;
        bool clickOnRelease;
        std::vector<Step> steps;
    };
    const float in = 240.0f;
    const float out = 400.0f;
    const Case cases[] = {
        {"click on release",
         true,
         {{out, false, false, false, false, 0, 0},
          {in, false, false, false, false, 1, 0},
          {in, false, false, false, false, 1, 0},
          {in, false, true, false, true, 1, 0},
          {in, true, true, false, true, 1, 0},
          {in, true, false, true, false, 1, 1},
          {out, false, false, false, false, 1, 1},
          {in, false, false, false, false, 2, 1}}},
        {"a press begun elsewhere clicks when released over it",
         true,
         {{out, false, true, false, false, 0, 0},
          {in, true, true, false, true, 1, 0},
          {in, true, false, true, false, 1, 1}}},
        {"click on press",
         false,
         {{in, false, true, true, false, 1, 1},
          {in, true, true, false, false, 1, 1},
          {in, true, false, false, false, 1, 1},
          {out, false, true, false, false, 1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int hoverBefore = Plays(0);
        const int clickBefore = Plays(1);
        CGuiButton button;
        button.Create(Button(c.clickOnRelease));
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            const Step& step = c.steps[i];
            Quiet();
            EXPECT_EQ(button.CheckClick(Frame(step.x, step.wasDown, step.isDown), kScreenScale),
                      step.click);
            EXPECT_EQ(button.pressed, step.pressed);
            EXPECT_EQ(Plays(0) - hoverBefore, step.hoverSounds);
            EXPECT_EQ(Plays(1) - clickBefore, step.clickSounds);
        }
    }
}

TEST_F(GuiTest, AButtonDrawsItsLookAndNoCaptionForAnUnknownText) {
    CGuiButton button;
    button.Create(Button(true));
    EXPECT_EQ(button.caption, -1);
    EXPECT_EQ(button.normalImage, panel);

    button.Draw(kScreenScale, 0xFFFFFFFF);
    ASSERT_EQ(device.draws.size(), 1u);
    EXPECT_FLOAT_EQ(device.draws[0].translation.x, 200.0f);
    EXPECT_EQ(device.draws[0].source->right, 40);

    // Held down over it: the hover image, moved by the hover offset and the
    // pressed look's two pixels.
    ASSERT_FALSE(button.CheckClick(Frame(240.0f, false, true), kScreenScale));
    button.Draw(kScreenScale, 0xFFFFFFFF);
    ASSERT_EQ(device.draws.size(), 2u);
    EXPECT_EQ(device.draws[1].texture, Resources().Images()[glow].texture);
    EXPECT_FLOAT_EQ(device.draws[1].translation.x, 200.0f + 2.0f + 3.0f * 2.0f);
    EXPECT_FLOAT_EQ(device.draws[1].translation.y, 75.0f + 2.0f);

    // The hover offset moves the picture, never the area.
    ASSERT_FALSE(button.CheckClick(Frame(283.0f, true, true), kScreenScale));
    EXPECT_FALSE(button.hovered);
}

// A button with a caption from the language table, in a font of two glyphs:
// A (advance 6) and B (advance 8), each 9 pixels high.
class GuiCaptionTest : public media_test::MediaWorldTest {
protected:
    void SetUp() override {
        MediaWorldTest::SetUp();
        const std::string font = WriteFont("PLAIN", 6, 8);
        resource_test::WriteFile("Resources/Data/language.xml", "<English text_data=\"en.xml\"/>");
        resource_test::WriteFile("Resources/Data/en.xml",
                                 "<texts><text id=\"GO\" data=\"AB\"/></texts>");
        ASSERT_TRUE(TextStorage().Initialize());
        Start("<Resources><SetDefaults path=\"Resources/\"/>" + font + "</Resources>");
        ASSERT_EQ(Resources().Fonts().size(), 1u);
        AddImage("PANEL", 64, 64);
    }
    void TearDown() override {
        TextStorage().Clear();
        MediaWorldTest::TearDown();
    }
};

TEST_F(GuiCaptionTest, TheCaptionIsCentredOnceAndDrawnWithoutSpacing) {
    GuiButtonDesc desc;
    desc.x = 100.0f;
    desc.y = 50.0f;
    desc.font = 0;
    desc.captionId = "GO";
    desc.letterSpacing = 2.0f;  // measured with it: 6 + 2 + 8 + 2 = 18
    desc.normalImageId = "PANEL";
    desc.normalRight = 41;
    desc.normalBottom = 21;
    desc.hoverImageId = "PANEL";
    desc.hoverRight = 41;
    desc.hoverBottom = 21;
    desc.hoverOffsetX = 3.0f;
    CGuiButton button;
    button.Create(desc);
    ASSERT_NE(button.caption, -1);
    // Whole halves of the picture, less half the width and a whole half line.
    EXPECT_FLOAT_EQ(button.captionX, 100.0f + 20.0f - 9.0f);
    EXPECT_FLOAT_EQ(button.captionY, 50.0f + 10.0f - 4.0f);

    const auto glyphs = [&] {
        std::vector<float> xs;
        for (std::size_t i = 1; i < device.draws.size(); ++i) {
            xs.push_back(device.draws[i].translation.x);
            EXPECT_FLOAT_EQ(device.draws[i].translation.y, device.draws[1].translation.y);
        }
        return xs;
    };
    button.Draw(kScreenScale, 0xFFFFFFFF);
    // Drawn with no letter spacing: B follows A by its advance alone.
    EXPECT_EQ(glyphs(), (std::vector<float>{222.0f, 234.0f}));
    EXPECT_FLOAT_EQ(device.draws.at(1).translation.y, 84.0f);

    // Held down over it: the caption takes the pressed look's two pixels but
    // not the hover offset.
    device.draws.clear();
    ASSERT_FALSE(button.CheckClick(Frame(240.0f, false, true), kScreenScale));
    button.Draw(kScreenScale, 0xFFFFFFFF);
    EXPECT_EQ(glyphs(), (std::vector<float>{224.0f, 236.0f}));
    EXPECT_FLOAT_EQ(device.draws.at(1).translation.y, 86.0f);
}

}  // namespace
