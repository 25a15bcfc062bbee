// The end-of-level statistics: the reveal of the lines with their sounds, the
// count of the cash line, and what each line shows where.
#include "game/level_statistics.h"

#include <gtest/gtest.h>

#include "engine/platform/input_devices.h"
#include "panel_world.h"

namespace {

using panel_test::DrawnText;

// A frame time that adds up without rounding: the half second is 32 frames.
constexpr float FRAME = 1.0f / 64.0f;

const std::vector<std::pair<std::string, std::string>> TEXTS = {
    {"STATISTICS_1", "CASH"},       {"STATISTICS_2", "TIME"},       {"STATISTICS_3", "COMBOS"},
    {"STATISTICS_4", "ORDERS"},     {"STATISTICS_5", "CALLS"},      {"STATISTICS_6", "SOLD"},
    {"STATISTICS_7", "LOST"},       {"EXPERT_MODE", "EXPERT"},      {"BONUS_STATISTICS_1", "SAVED"},
    {"BONUS_STATISTICS_2", "GONE"}, {"BONUS_STATISTICS_3", "PAID"}, {"MINIGAME_BONUS", "BONUS"},
};

class LevelStatisticsTest : public panel_test::PanelWorldTest {
protected:
    void SetUp() override {
        PanelWorldTest::SetUp();
        StartWorld("English", TEXTS);
    }

    // One frame of the reveal, with the sounds moving on as they play.
    void Frame(bool bonus) {
        stats.Update(input, {1.0f, 1.0f}, FRAME, bonus);
        audio.Advance(FRAME);
    }

    std::vector<DrawnText> Render(bool bonus) {
        device.draws.clear();
        stats.Render(&device, {1.0f, 1.0f}, bonus);
        return DrawnTexts();
    }

    CLevelStatistics stats;
    InputState input;
};

TEST_F(LevelStatisticsTest, ANewOrResetPanelStartsEmpty) {
    stats.combos = 4;
    stats.shownLines = 3;
    stats.revealTimer = -1.0f;
    stats.expertReached = true;
    stats.Reset(true);
    EXPECT_EQ(stats.totalLines, 3);
    EXPECT_EQ(stats.combos, 0);
    EXPECT_EQ(stats.shownLines, 0);
    EXPECT_FALSE(stats.expertReached);
    EXPECT_FLOAT_EQ(stats.revealTimer, 0.5f);
    EXPECT_FLOAT_EQ(stats.revealInterval, 0.5f);
    stats.Reset(false);
    EXPECT_EQ(stats.totalLines, 7);
    EXPECT_EQ(CLevelStatistics().totalLines, 7);
    EXPECT_TRUE(Render(false).empty());
}

TEST_F(LevelStatisticsTest, TheCashLineCountsToTheResultBeforeTheNextLine) {
    struct Case {
        int target;
        int countEndFrame;  // the frame the count arrives, 0 when nothing counts
        int secondLineFrame;
        const char16_t* shown;
        float x;  // ends at 658: 658 - 0.7 x 10 per glyph
    };
    // Line 1 shows at frame 32 and the count starts half a second later, at
    // frame 64, at 1000 a second: 350 needs 22.4 frames (0.35 s), 120 needs
    // 7.68. Line 2 follows half a second after the count has arrived.
    const Case cases[] = {
        {350, 86, 118, u"$350", 630.0f},
        {-120, 71, 103, u"-$120", 623.0f},
        {0, 0, 64, u"$0", 644.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        stats.Reset(false);
        stats.target = c.target;
        // The count sound of the case before has ended.
        audio.channels[Resources().Samples()[42].channel].state = backend::ChannelState::Stopped;
        const int countPlays = Plays(42);
        const int linePlays = Plays(43);
        for (int frame = 1; frame <= c.secondLineFrame; ++frame) {
            Frame(false);
            const int expectedLines = frame < 32 ? 0 : frame < c.secondLineFrame ? 1 : 2;
            ASSERT_EQ(stats.shownLines, expectedLines) << "frame " << frame;
            if (frame == 32) {
                EXPECT_FLOAT_EQ(stats.shownNumber, 0.0f);
                EXPECT_EQ(Plays(43), linePlays + 1);
                const std::vector<DrawnText> texts = Render(false);
                ASSERT_EQ(texts.size(), 2u);
                EXPECT_EQ(texts[1].text, u"$0");
            }
            if (c.countEndFrame != 0 && frame == c.countEndFrame - 1) {
                EXPECT_NE(stats.shownNumber, static_cast<float>(c.target));
            }
        }
        EXPECT_FLOAT_EQ(stats.shownNumber, static_cast<float>(c.target));
        EXPECT_EQ(Plays(43), linePlays + 2);
        // The count sound starts once and is left to play on.
        EXPECT_EQ(Plays(42), countPlays + (c.countEndFrame != 0 ? 1 : 0));

        const std::vector<DrawnText> texts = Render(false);
        ASSERT_EQ(texts.size(), 4u);
        EXPECT_EQ(texts[0].text, u"CASH");
        EXPECT_FLOAT_EQ(texts[0].x, 350.0f);
        EXPECT_FLOAT_EQ(texts[0].y, 350.0f);
        EXPECT_FLOAT_EQ(texts[0].scale, 0.7f);
        EXPECT_EQ(texts[0].colour, 0xFFFFFFFFu);
        EXPECT_EQ(texts[1].text, c.shown);
        EXPECT_FLOAT_EQ(texts[1].x, c.x);
        EXPECT_FLOAT_EQ(texts[1].y, 350.0f);
        EXPECT_EQ(texts[2].text, u"TIME");
    }
}

// Cash at the ends of the int32 range: the highest is 2^31 as a float, one
// past the range, and the lowest has no positive counterpart.
TEST_F(LevelStatisticsTest, CashAtTheEndsOfTheRangeShowsItsDigits) {
    struct Case {
        std::int32_t cash;
        const char16_t* shown;
    };
    const Case cases[] = {{2147483647, u"$2147483647"}, {-2147483647 - 1, u"-$2147483648"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cash);
        stats.ShowAll(c.cash);
        const std::vector<DrawnText> texts = Render(false);
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ(texts[1].text, c.shown);
    }
}

TEST_F(LevelStatisticsTest, PlayTimeShowsMinutesAndTwoDigitSeconds) {
    struct Case {
        float seconds;
        const char16_t* shown;
    };
    const Case cases[] = {{125.7f, u"2:05"}, {0.0f, u"0:00"},  {59.99f, u"0:59"},
                          {61.0f, u"1:01"},  {70.0f, u"1:10"}, {3600.0f, u"60:00"}};
    stats.shownLines = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        stats.playTime = c.seconds;
        const std::vector<DrawnText> texts = Render(false);
        ASSERT_EQ(texts.size(), 4u);
        EXPECT_EQ(texts[3].text, c.shown);
        EXPECT_FLOAT_EQ(texts[3].y, 383.0f);
    }
}

TEST_F(LevelStatisticsTest, EveryStoryLineInItsPlace) {
    stats.shownLines = 7;
    stats.shownNumber = 812.9f;
    stats.playTime = 300.0f;
    stats.combos = 3;
    stats.orderFishSold = 11;
    stats.computerFishSold = 4;
    stats.fishSold = 15;
    stats.deadFishAndMissedOrders = 2;
    stats.orderFishDied = 9;  // counted, never shown
    const std::vector<DrawnText> texts = Render(false);
    struct Line {
        const char16_t* label;
        const char16_t* value;
        float y;
    };
    // 349 + 33 per line, moved a pixel down at the top and up at the bottom.
    const Line lines[] = {{u"CASH", u"$812", 350.0f}, {u"TIME", u"5:00", 383.0f},
                          {u"COMBOS", u"3", 415.0f},  {u"ORDERS", u"11", 448.0f},
                          {u"CALLS", u"4", 481.0f},   {u"SOLD", u"15", 513.0f},
                          {u"LOST", u"2", 546.0f}};
    ASSERT_EQ(texts.size(), 14u);
    for (int k = 0; k < 7; ++k) {
        SCOPED_TRACE(k + 1);
        const DrawnText& label = texts[static_cast<std::size_t>(2 * k)];
        const DrawnText& value = texts[static_cast<std::size_t>(2 * k + 1)];
        EXPECT_EQ(label.text, lines[k].label);
        EXPECT_FLOAT_EQ(label.x, 350.0f);
        EXPECT_FLOAT_EQ(label.y, lines[k].y);
        EXPECT_EQ(value.text, lines[k].value);
        // Each glyph advances 7 pixels at 0.7, so the value ends at 658.
        EXPECT_FLOAT_EQ(value.x + 7.0f * static_cast<float>(value.text.size()), 658.0f);
        EXPECT_FLOAT_EQ(value.y, lines[k].y);
    }

    // Revealed lines only; a label missing from the language leaves its value.
    UseLanguage("English", {{"STATISTICS_2", "TIME"}});
    stats.shownLines = 2;
    const std::vector<DrawnText> two = Render(false);
    ASSERT_EQ(two.size(), 3u);
    EXPECT_EQ(two[0].text, u"$812");
    EXPECT_EQ(two[1].text, u"TIME");
    EXPECT_EQ(two[2].text, u"5:00");
}

TEST_F(LevelStatisticsTest, TheExpertMarkSitsBesideTheCashByLanguage) {
    struct Case {
        const char* language;
        float x;
    };
    const Case cases[] = {
        {"English", 514.0f}, {"German", 478.0f}, {"Spanish", 505.0f}, {"Japanese", 495.0f}};
    stats.shownLines = 1;
    stats.expertReached = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        UseLanguage(c.language, TEXTS);
        const std::vector<DrawnText> texts = Render(false);
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[2].text, u"EXPERT");
        EXPECT_FLOAT_EQ(texts[2].x, c.x);
        EXPECT_FLOAT_EQ(texts[2].y, 350.0f);
    }
    stats.expertReached = false;
    EXPECT_EQ(Render(false).size(), 2u);
    stats.expertReached = true;
    stats.shownLines = 0;
    EXPECT_TRUE(Render(false).empty());
}

TEST_F(LevelStatisticsTest, BonusLinesFollowEachHalfSecondAndAWonGameAddsTheFourth) {
    stats.Reset(true);
    stats.turtlesSaved = 7;
    stats.turtlesLost = 2;
    stats.target = 500;  // a bonus level counts nothing
    const int linePlays = Plays(43);
    for (int frame = 1; frame <= 96; ++frame) {
        Frame(true);
        ASSERT_EQ(stats.shownLines, frame / 32) << "frame " << frame;
    }
    EXPECT_EQ(Plays(43), linePlays + 3);
    EXPECT_FLOAT_EQ(stats.shownNumber, 0.0f);

    std::vector<DrawnText> texts = Render(true);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0].text, u"SAVED");
    EXPECT_EQ(texts[1].text, u"7");
    EXPECT_FLOAT_EQ(texts[1].y, 350.0f);
    EXPECT_EQ(texts[3].text, u"2");
    EXPECT_FLOAT_EQ(texts[3].y, 382.0f);
    EXPECT_EQ(texts[4].text, u"PAID");
    // The money the turtles earned: 50 each.
    EXPECT_EQ(texts[5].text, u"$350");
    EXPECT_FLOAT_EQ(texts[5].y, 415.0f);

    // The mini-game won: one more line, black and centred under the others.
    ++stats.totalLines;
    for (int frame = 1; frame <= 32; ++frame) {
        Frame(true);
    }
    EXPECT_EQ(stats.shownLines, 4);
    texts = Render(true);
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[6].text, u"BONUS");
    EXPECT_EQ(texts[6].colour, 0xFF000000u);
    EXPECT_FLOAT_EQ(texts[6].x, 506.0f - 17.0f);  // half of 5 x 7, cut
    EXPECT_FLOAT_EQ(texts[6].y, 450.0f);
}

TEST_F(LevelStatisticsTest, OkDuringTheCountShowsEveryLineWithTheFinalCash) {
    stats.target = 350;
    for (int frame = 1; frame <= 70; ++frame) {
        Frame(false);
    }
    ASSERT_EQ(stats.shownLines, 1);
    ASSERT_GT(stats.shownNumber, 0.0f);
    ASSERT_LT(stats.shownNumber, 350.0f);
    stats.ShowAll(350);
    EXPECT_EQ(stats.shownLines, 7);
    const std::vector<DrawnText> texts = Render(false);
    ASSERT_EQ(texts.size(), 14u);
    EXPECT_EQ(texts[1].text, u"$350");
    EXPECT_EQ(texts[12].text, u"LOST");

    // A bonus level shows its lines, the fourth only after a won game.
    stats.Reset(true);
    stats.ShowAll(0);
    EXPECT_EQ(stats.shownLines, 3);
    stats.Reset(true);
    ++stats.totalLines;
    stats.ShowAll(0);
    EXPECT_EQ(Render(true).size(), 7u);
}

}  // namespace
