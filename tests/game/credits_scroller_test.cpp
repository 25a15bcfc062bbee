// The credits: the scroll, the fades at the two lines, the restart after the
// last line, and how each line is drawn.
#include "game/credits_scroller.h"

#include <gtest/gtest.h>

#include <cmath>

#include "panel_world.h"

namespace {

using panel_test::DrawnText;

// A frame time that adds up without rounding.
constexpr float FRAME = 1.0f / 64.0f;

class CreditsScrollerTest : public panel_test::PanelWorldTest {
protected:
    void SetUp() override {
        PanelWorldTest::SetUp();
        // CREDITS_13 is missing from the language.
        std::vector<std::pair<std::string, std::string>> texts;
        for (int i = 1; i <= 12; ++i) {
            texts.push_back({"CREDITS_" + std::to_string(i), i % 2 == 1 ? "HEAD" : "NAME"});
        }
        texts.push_back({"COPYRIGHT", "C"});
        StartWorld("English", texts);
        credits.Build();
    }

    std::vector<DrawnText> Render() {
        device.draws.clear();
        credits.Render({1.0f, 1.0f});
        return DrawnTexts();
    }

    CCreditsScroller credits;
};

TEST_F(CreditsScrollerTest, BuildMakesTheLinesAndLeavesTheScrollerStopped) {
    const std::vector<CreditLine>& lines = credits.GetLines();
    ASSERT_EQ(lines.size(), 14u);
    const float ys[] = {0, 35, 105, 140, 175, 245, 280, 350, 385, 455, 490, 560, 595, 700};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_FLOAT_EQ(lines[i].y, ys[i]);
        EXPECT_FLOAT_EQ(lines[i].x, 0.0f);
        EXPECT_FLOAT_EQ(lines[i].alpha, 0.0f);
        // Headings yellow at lines 1, 3, 4, 6, 8, 10 and 12.
        const bool heading = i == 0 || i == 2 || i == 3 || i == 5 || i == 7 || i == 9 || i == 11;
        EXPECT_EQ(lines[i].colour, heading ? 0xFFFFFF88u : 0xFFFFFFFFu);
    }
    EXPECT_EQ(lines[12].text, -1);
    EXPECT_EQ(TextStorage().GetTextAt(lines[13].text), u"C");
    EXPECT_FALSE(credits.IsActive());
    EXPECT_EQ(credits.GetScrollPosition(), (Vec2{512.0f, 580.0f}));
}

TEST_F(CreditsScrollerTest, LinesFadeAtTheTwoLinesAndTheScrollStartsAgain) {
    credits.Restart();
    const std::vector<CreditLine>& lines = credits.GetLines();
    float fadeOutStart = -1.0f;
    float restart = -1.0f;
    for (int frame = 1; frame <= 64 * 50 && restart < 0.0f; ++frame) {
        const float before = lines[0].alpha;
        credits.Update(FRAME);
        const float t = static_cast<float>(frame) * FRAME;
        if (fadeOutStart < 0.0f && lines[0].alpha < before) {
            fadeOutStart = t;
        }
        if (credits.GetScrollPosition().y == 580.0f) {
            restart = t;
        }
        // Lines at the lower line or below stay invisible.
        for (const CreditLine& line : lines) {
            if (credits.GetScrollPosition().y + line.y >= 580.0f) {
                ASSERT_FLOAT_EQ(line.alpha, 0.0f) << "frame " << frame;
            }
        }
    }
    // The first line reaches the upper line after 360 / 25 s; the last, 700
    // further down, after 42.4 s and has faded 255 / 200 s later.
    EXPECT_NEAR(fadeOutStart, 14.4f, FRAME);
    EXPECT_NEAR(restart, 42.4f + 1.275f, FRAME);
    for (const CreditLine& line : lines) {
        EXPECT_FLOAT_EQ(line.alpha, 0.0f);
    }
    EXPECT_TRUE(credits.IsActive());
}

TEST_F(CreditsScrollerTest, ALineCarriedPastBothLinesInOneFrameNeverShows) {
    credits.Restart();
    // 20 s: 500 up, from 580 to 80.
    credits.Update(20.0f);
    const std::vector<CreditLine>& lines = credits.GetLines();
    EXPECT_FLOAT_EQ(credits.GetScrollPosition().y, 80.0f);
    EXPECT_FLOAT_EQ(lines[0].alpha, 0.0f);    // at 80, above 220
    EXPECT_FLOAT_EQ(lines[5].alpha, 255.0f);  // at 325, between: full at once
    EXPECT_FLOAT_EQ(lines[13].alpha, 0.0f);   // at 780, still below
    // Carrying the last line past the upper line starts again at once.
    credits.Update(60.0f);
    EXPECT_FLOAT_EQ(credits.GetScrollPosition().y, 580.0f);
    for (const CreditLine& line : lines) {
        EXPECT_FLOAT_EQ(line.alpha, 0.0f);
    }
}

TEST_F(CreditsScrollerTest, StoppedCreditsNeitherMoveNorDraw) {
    for (const bool started : {false, true}) {
        SCOPED_TRACE(started);
        if (started) {
            credits.Restart();
            credits.Update(1.0f);
            credits.Stop();
        }
        const Vec2 position = credits.GetScrollPosition();
        const float alpha = credits.GetLines()[0].alpha;
        credits.Update(5.0f);
        EXPECT_EQ(credits.GetScrollPosition(), position);
        EXPECT_FLOAT_EQ(credits.GetLines()[0].alpha, alpha);
        EXPECT_TRUE(Render().empty());
    }
}

TEST_F(CreditsScrollerTest, HeadingsAndNamesAreDrawnCentredWithTheirAlpha) {
    credits.Restart();
    // 4.5 s: 112.5 up.
    for (int frame = 0; frame < 288; ++frame) {
        credits.Update(FRAME);
    }
    const std::vector<DrawnText> texts = Render();
    // Every line with a text is drawn, visible or not; CREDITS_13 has none.
    ASSERT_EQ(texts.size(), 13u);
    // A heading: font 1 at the screen scale with letter spacing 1, centred on
    // 512 (4 glyphs of 10 + 1), on no whole pixel.
    EXPECT_EQ(texts[0].font, 1);
    EXPECT_EQ(texts[0].text, u"HEAD");
    EXPECT_FLOAT_EQ(texts[0].x, 512.0f - 22.0f);
    EXPECT_FLOAT_EQ(texts[0].y, 467.5f);
    EXPECT_FLOAT_EQ(texts[0].scale, 1.0f);
    EXPECT_EQ(texts[0].colour, 0xFFFFFF88u);
    // A name: font 0 at 0.85, centred 5 further right: half of 4 x 8.5.
    EXPECT_EQ(texts[1].font, 0);
    EXPECT_EQ(texts[1].text, u"NAME");
    EXPECT_FLOAT_EQ(texts[1].x, 517.0f - 17.0f);
    EXPECT_FLOAT_EQ(texts[1].y, 502.5f);
    EXPECT_FLOAT_EQ(texts[1].scale, 0.85f);
    EXPECT_EQ(texts[1].colour, 0xFFFFFFFFu);
    // Line 3 rose above 580 20 frames ago: alpha 62.5, drawn as 62.
    EXPECT_FLOAT_EQ(texts[2].y, 572.5f);
    EXPECT_EQ(texts[2].colour, 0x3EFFFF88u);
    EXPECT_EQ(texts[3].colour, 0x00FFFF88u);
    // The copyright, far below, is drawn invisible.
    EXPECT_EQ(texts[12].text, u"C");
    EXPECT_EQ(texts[12].colour, 0x00FFFFFFu);
}

TEST_F(CreditsScrollerTest, BuildWhileRunningStartsOverWithTheNewTexts) {
    credits.Restart();
    credits.Update(3.0f);
    UseLanguage("English", {{"CREDITS_1", "NEW"}});
    credits.Build();
    EXPECT_TRUE(credits.IsActive());
    EXPECT_EQ(credits.GetScrollPosition(), (Vec2{512.0f, 580.0f}));
    credits.Update(1.0f);
    const std::vector<DrawnText> texts = Render();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"NEW");
    EXPECT_FLOAT_EQ(texts[0].y, 555.0f);
}

}  // namespace
