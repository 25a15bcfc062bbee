#include "engine/media/popup_texts.h"

#include <gtest/gtest.h>

#include "media_world.h"

namespace {

// A popup as most callers add one: font 1, letter spacing 1, drifting up.
void AddPopup(CPopupTexts& popups, float scale, float hold, float delay, int sound,
              std::int32_t tag = 0) {
    popups.Add(1, u"SELL +50", tag, 0xFF00FF00, 300.0f, 200.0f, 1.0f, 0.0f, -1.0f, scale, hold,
               delay, sound);
}

TEST(PopupTextsTest, TimelineOfAPopup) {
    CPopupTexts popups;
    popups.SetScale(2.0f, 3.0f);
    AddPopup(popups, 1.0f, 0.5f, 0.0f, -1);
    const PopupText& popup = popups.GetTexts().at(0);
    EXPECT_FLOAT_EQ(popup.maxScale, 1.4f);
    EXPECT_FLOAT_EQ(popup.minScale, 0.8f);

    struct Step {
        float dt;
        int phase;
        float scale;
        float hold;
        float opacity;
        float y;
    };
    const Step steps[] = {
        // The first update only starts it.
        {0.02f, PopupText::GROW, 1.0f, 0.5f, 255.0f, 200.0f},
        {0.03f, PopupText::GROW, 1.195f, 0.5f, 255.0f, 200.0f},
        // Passing the maximum starts the shrinking in the same frame.
        {0.04f, PopupText::SHRINK, 1.14f, 0.5f, 255.0f, 200.0f},
        {0.1f, PopupText::HOLD, 0.8f, 0.4f, 255.0f, 200.0f},
        {0.3f, PopupText::HOLD, 0.8f, 0.1f, 255.0f, 200.0f},
        {0.3f, PopupText::FADE, 0.8f, 0.0f, 105.0f, 170.0f},
        {0.2f, PopupText::FADE, 0.8f, 0.0f, 5.0f, 150.0f},
    };
    for (const Step& step : steps) {
        popups.Update(step.dt);
        ASSERT_EQ(popups.GetTexts().size(), 1u);
        const PopupText& p = popups.GetTexts()[0];
        EXPECT_EQ(p.phase, step.phase);
        EXPECT_NEAR(p.scale, step.scale, 1e-4f);
        EXPECT_NEAR(p.hold, step.hold, 1e-4f);
        EXPECT_NEAR(p.opacity, step.opacity, 1e-3f);
        EXPECT_NEAR(p.y, step.y, 1e-3f);
    }
    const PopupText& fading = popups.GetTexts()[0];
    EXPECT_EQ(fading.colour, 0x0500FF00u);
    EXPECT_FLOAT_EQ(fading.drawScaleX, 1.6f);
    EXPECT_FLOAT_EQ(fading.drawScaleY, 2.4f);
    popups.SetScale(1.0f, 1.0f);
    // Reaching opacity 0 removes it in that very update.
    popups.Update(0.02f);
    EXPECT_TRUE(popups.GetTexts().empty());
}

TEST(PopupTextsTest, AFinishedPopupLeavesTheRestOfThePassToTheNext) {
    CPopupTexts popups;
    AddPopup(popups, 1.0f, 0.0f, 0.0f, -1, 1);
    AddPopup(popups, 1.0f, 0.5f, 0.2f, -1, 2);
    popups.Update(0.01f);  // starts the first
    popups.Update(1.0f);   // runs the first to its end
    ASSERT_EQ(popups.GetTexts().size(), 1u);
    EXPECT_EQ(popups.GetTexts()[0].tag, 2);
    // The second was counted down in the same pass.
    EXPECT_FLOAT_EQ(popups.GetTexts()[0].delay, -1.0f);
}

TEST(PopupTextsTest, EveryPopupComesToAnEnd) {
    struct Case {
        float scale;
        float minScale;
        float maxScale;
    };
    // No size or a negative one counts as 1.
    const Case cases[] = {{2.0f, 1.6f, 2.8f}, {0.0f, 0.8f, 1.4f}, {-3.0f, 0.8f, 1.4f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        CPopupTexts popups;
        AddPopup(popups, c.scale, 0.5f, 0.0f, -1);
        EXPECT_FLOAT_EQ(popups.GetTexts()[0].minScale, c.minScale);
        EXPECT_FLOAT_EQ(popups.GetTexts()[0].maxScale, c.maxScale);
        for (int frame = 0; frame < 200 && !popups.GetTexts().empty(); ++frame) {
            popups.Update(0.016f);
        }
        EXPECT_TRUE(popups.GetTexts().empty());
    }

    // A range tuned below the start size still ends.
    CPopupTexts popups;
    popups.SetLastScaleRange(0.1f, 0.2f);  // nothing to tune yet
    popups.SetLastSpeed(1.0f, 100.0f);
    AddPopup(popups, 2.0f, 0.1f, 0.0f, -1);
    popups.SetLastScaleRange(0.3f, 0.5f);
    popups.SetLastSpeed(2.0f, 1000.0f);
    EXPECT_FLOAT_EQ(popups.GetTexts()[0].minScale, 0.6f);
    EXPECT_FLOAT_EQ(popups.GetTexts()[0].maxScale, 1.0f);
    EXPECT_FLOAT_EQ(popups.GetTexts()[0].pulseSpeed, 4.0f);
    EXPECT_FLOAT_EQ(popups.GetTexts()[0].fadeSpeed, 1000.0f);
    for (int frame = 0; frame < 200 && !popups.GetTexts().empty(); ++frame) {
        popups.Update(0.016f);
    }
    EXPECT_TRUE(popups.GetTexts().empty());
}

class PopupSoundTest : public media_test::MediaWorldTest {};

TEST_F(PopupSoundTest, StartedPopupsAreDrawnWithFontOneCentredOnTheirPosition) {
    // Font 0 is wider than font 1, the font every popup is drawn with.
    Start("<Resources><SetDefaults path=\"Resources/\"/>" + WriteFont("WIDE", 10, 12) +
          WriteFont("PLAIN", 6, 8) + "</Resources>");
    ASSERT_EQ(Resources().Fonts().size(), 2u);
    CPopupTexts popups;
    popups.SetScale(2.0f, 2.0f);
    // Measured with font 0 and letter spacing 1: 10 + 1 + 12 + 1 = 24.
    for (const float delay : {0.0f, 1.0f}) {
        popups.Add(0, u"AB", 0, 0xFF00FF00, 300.0f, 200.0f, 1.0f, 0.0f, -1.0f, 1.0f, 0.5f, delay,
                   -1);
    }
    EXPECT_FLOAT_EQ(popups.GetTexts()[0].width, 24.0f);
    popups.Update(0.01f);  // the first starts, the second still waits
    popups.Update(0.0f);
    popups.Draw();
    ASSERT_EQ(device.draws.size(), 2u);
    // x: 300 x 2 - 24 x 0.5; y: 200 x 2, less half a line of 9 x 2.
    EXPECT_FLOAT_EQ(device.draws[0].translation.x, 588.0f);
    EXPECT_FLOAT_EQ(device.draws[0].translation.y, 391.0f);
    // Font 1's advance of A with the letter spacing: (6 + 1) x 2.
    EXPECT_FLOAT_EQ(device.draws[1].translation.x, 602.0f);
    EXPECT_FLOAT_EQ(device.draws[0].scale.x, 2.0f);
    EXPECT_EQ(device.draws[0].colour, 0xFF00FF00u);
}

TEST_F(PopupSoundTest, APopupWithoutDelayIsDrawnBeforeItsFirstUpdate) {
    Start("<Resources><SetDefaults path=\"Resources/\"/>" + WriteFont("WIDE", 10, 12) +
          WriteFont("PLAIN", 6, 8) + "</Resources>");
    CPopupTexts popups;
    popups.SetScale(2.0f, 2.0f);
    for (const float delay : {0.0f, 0.5f}) {
        popups.Add(1, u"AB", 0, 0xFF00FF00, 300.0f, 200.0f, 1.0f, 0.0f, -1.0f, 1.0f, 0.5f, delay,
                   -1);
    }
    popups.Draw();
    // Only the first, both its letters, at the draw scale it starts with.
    ASSERT_EQ(device.draws.size(), 2u);
    EXPECT_FLOAT_EQ(device.draws[0].scale.x, 1.0f);
    EXPECT_FLOAT_EQ(device.draws[0].translation.x, 600.0f - popups.GetTexts()[0].width * 0.5f);
    EXPECT_EQ(device.draws[0].colour, 0xFF00FF00u);
}

TEST_F(PopupSoundTest, TheSoundPlaysWhenTheDelayRunsOut) {
    Start(R"(<Resources><Sample id="A" path="a.wav"/><Sample id="B" path="b.wav"/></Resources>)");
    const auto plays = [&] { return audio.channels[Resources().Samples()[1].channel].plays; };
    CPopupTexts popups;
    AddPopup(popups, 1.0f, 0.5f, 1.0f, 1);
    popups.Update(0.6f);
    EXPECT_EQ(plays(), 0);
    EXPECT_EQ(popups.GetTexts()[0].phase, PopupText::GROW);
    popups.Update(0.6f);
    EXPECT_EQ(plays(), 1);
    EXPECT_FLOAT_EQ(popups.GetTexts()[0].scale, 1.0f);
    popups.Update(0.01f);
    EXPECT_EQ(plays(), 1);
    EXPECT_GT(popups.GetTexts()[0].scale, 1.0f);
}

}  // namespace
