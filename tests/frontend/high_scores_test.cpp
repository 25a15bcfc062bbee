#include "frontend/high_scores.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "frontend_world.h"

namespace {

using frontend_test::DrawnGlyph;
using resource_test::LogHas;
using resource_test::ReadFile;
using resource_test::WriteFile;

const std::string SAVE = "high_scores.sav";

// One 40-byte record written by hand: the name as UTF-16LE units (no more than
// given, the rest zero), two padding bytes, the score little-endian.
std::string Record(const std::u16string& units, std::uint32_t score, char padding = 0) {
    std::string bytes;
    for (std::size_t i = 0; i < 17; ++i) {
        const char16_t unit = i < units.size() ? units[i] : u'\0';
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    bytes += std::string(2, padding);
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>((score >> shift) & 0xFF);
    }
    return bytes;
}

// A file of rows named "R0", "R1", ... with the given scores.
std::string Table(const std::vector<std::uint32_t>& scores) {
    std::string bytes;
    for (std::size_t i = 0; i < scores.size(); ++i) {
        bytes += Record(u"R" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)), scores[i]);
    }
    return bytes;
}

std::vector<std::uint32_t> Scores(const CHighScores& table) {
    std::vector<std::uint32_t> scores;
    for (const ScoreRecord& row : table.GetRows()) {
        scores.push_back(row.score);
    }
    return scores;
}

class HighScoresTest : public frontend_test::FrontendWorldTest {};

TEST_F(HighScoresTest, InsertTable) {
    const std::vector<std::uint32_t> twelve{900, 800, 700, 600, 500, 400,
                                            300, 200, 100, 90,  80,  70};
    const std::vector<std::uint32_t> fifteen{150, 140, 130, 120, 110, 100, 90, 80,
                                             70,  60,  50,  40,  30,  20,  10};
    struct Case {
        const char* name;
        const char* file;  // nullptr: no file, the placeholder rows
        std::vector<std::uint32_t> rows;
        std::uint32_t score;
        bool inserted;
        std::int32_t highlight;
        std::vector<std::uint32_t> after;
    };
    const Case cases[] = {
        {"a tie goes below every row of its score",
         "",
         {500, 300, 300, 100},
         300,
         true,
         3,
         {500, 300, 300, 300, 100}},
        {"0 into the placeholders is refused",
         nullptr,
         {},
         0,
         false,
         -1,
         std::vector<std::uint32_t>(12, 0)},
        {"a top score takes rank 1 and drops the twelfth row",
         "",
         twelve,
         1000,
         true,
         0,
         {1000, 900, 800, 700, 600, 500, 400, 300, 200, 100, 90, 80}},
        {"a score below a full table changes nothing", "", twelve, 10, false, -1, twelve},
        {"fifteen rows stay until an insert cuts them to twelve",
         "",
         fifteen,
         5,
         false,
         -1,
         {150, 140, 130, 120, 110, 100, 90, 80, 70, 60, 50, 40}},
        {"a row beyond the twelfth is placed, then cut",
         "",
         fifteen,
         35,
         true,
         12,
         {150, 140, 130, 120, 110, 100, 90, 80, 70, 60, 50, 40}},
        {"an append to a short table is highlighted but answers false",
         "",
         {300, 200, 100},
         50,
         false,
         3,
         {300, 200, 100, 50}},
        {"0 into an empty table is appended and answers false", "", {}, 0, false, 0, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(SAVE);
        if (c.file != nullptr) {
            WriteFile(SAVE, Table(c.rows));
        }
        CHighScores table;
        table.Load(SAVE);
        ASSERT_EQ(table.GetRows().size(), c.file != nullptr ? c.rows.size() : 12u);
        EXPECT_EQ(table.Insert(u"NEW", c.score), c.inserted);
        EXPECT_EQ(table.GetHighlightedRow(), c.highlight);
        EXPECT_EQ(Scores(table), c.after);
        if (c.inserted && c.highlight < 12) {
            EXPECT_EQ(table.GetRows()[static_cast<std::size_t>(c.highlight)].Name(), u"NEW");
        }
    }
}

TEST_F(HighScoresTest, ARefusedScoreKeepsTheHighlightOfTheLastEntry) {
    CHighScores table;
    table.Load(SAVE);  // no file: twelve placeholders of score 0
    ASSERT_TRUE(table.Insert(u"ANN", 40));
    ASSERT_EQ(table.GetHighlightedRow(), 0);
    EXPECT_FALSE(table.Insert(u"BOB", 0));
    EXPECT_EQ(table.GetHighlightedRow(), 0);
    EXPECT_EQ(table.GetRows().size(), 12u);
    EXPECT_EQ(table.GetRows()[1].Name(), u"Nobody yet");
}

TEST_F(HighScoresTest, NamesKeepTheirFirstSixteenUnits) {
    CHighScores table;
    table.Load(SAVE);
    ASSERT_TRUE(table.Insert(u"ABCDEFGHIJKLMNOPQRST", 5));
    const ScoreRecord& row = table.GetRows()[0];
    EXPECT_EQ(row.Name(), u"ABCDEFGHIJKLMNOP");
    EXPECT_EQ(row.name[16], u'\0');
}

TEST_F(HighScoresTest, LoadTable) {
    const std::u16string seventeen = u"ABCDEFGHIJKLMNOPQ";  // no zero among the 17 units
    struct Case {
        const char* name;
        const char* bytes;  // nullptr: no file
        std::size_t length;
        int count;
        std::vector<std::u16string> names;
        std::vector<std::uint32_t> scores;
    };
    const std::string one = Record(u"ANN", 7);
    const std::string oneAndOne = one + "x";
    const std::string unterminated = Record(seventeen, 9, 'p');
    const Case cases[] = {
        {"no file: twelve placeholders", nullptr, 0, 0,
         std::vector<std::u16string>(12, u"Nobody yet"), std::vector<std::uint32_t>(12, 0)},
        {"an empty file: no rows", "", 0, 0, {}, {}},
        {"41 bytes: one row, the incomplete piece dropped",
         oneAndOne.data(),
         oneAndOne.size(),
         1,
         {u"ANN"},
         {7}},
        {"a name without a terminator keeps 16 units; the padding is not read",
         unterminated.data(),
         unterminated.size(),
         1,
         {u"ABCDEFGHIJKLMNOP"},
         {9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(SAVE);
        HtmlLog().Start();
        if (c.bytes != nullptr) {
            WriteFile(SAVE, std::string(c.bytes, c.length));
        }
        CHighScores table;
        EXPECT_EQ(table.Load(SAVE), c.count);
        std::vector<std::u16string> names;
        for (const ScoreRecord& row : table.GetRows()) {
            names.push_back(row.Name());
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(Scores(table), c.scores);
        EXPECT_EQ(table.GetHighlightedRow(), -1);
        EXPECT_TRUE(LogHas("Load records (" + SAVE + "):\n", "Blue"));
        if (c.bytes == nullptr) {
            EXPECT_TRUE(LogHas("Create new records", "Blue"));
            EXPECT_FALSE(std::filesystem::exists(SAVE)) << "nothing is written at start";
        } else {
            EXPECT_TRUE(LogHas("Complete", "Green"));
        }
    }
}

TEST_F(HighScoresTest, SaveWritesEveryRowByteForByte) {
    CHighScores table;
    table.Load(SAVE);
    ASSERT_TRUE(table.Insert(u"Marina", 12345));
    ASSERT_TRUE(table.Insert(u"ABCDEFGHIJKLMNOPQRST", 0x01020304));
    HtmlLog().Start();
    ASSERT_TRUE(table.Save(SAVE));

    std::string expected = Record(u"ABCDEFGHIJKLMNOP", 0x01020304) + Record(u"Marina", 12345);
    for (int i = 0; i < 10; ++i) {
        expected += Record(u"Nobody yet", 0);
    }
    ASSERT_EQ(expected.size(), 480u);
    // Spelled out once, so that the record writer cannot agree with itself.
    EXPECT_EQ(expected.substr(0, 40),
              std::string("A\0B\0C\0D\0E\0F\0G\0H\0I\0J\0K\0L\0M\0N\0O\0P\0\0\0"
                          "\0\0\x04\x03\x02\x01",
                          40));
    EXPECT_EQ(ReadFile(SAVE), expected);
    EXPECT_FALSE(std::filesystem::exists(SAVE + ".tmp"));
    EXPECT_TRUE(media_test::LogHasInOrder(
        {{"Blue", "Save records (" + SAVE + "):\n"}, {"Green", "Complete"}}));

    CHighScores again;
    EXPECT_EQ(again.Load(SAVE), 12);
    EXPECT_EQ(Scores(again), Scores(table));
}

TEST_F(HighScoresTest, AFailedWriteKeepsTheOldFileAndReportsIt) {
    const std::string old = Record(u"OLD", 77);
    WriteFile(SAVE, old);
    // A folder where the temporary file goes cannot be opened for writing,
    // even by root.
    std::filesystem::create_directory(SAVE + ".tmp");
    CHighScores table;
    table.Load(SAVE);
    ASSERT_TRUE(table.Insert(u"NEW", 100));
    HtmlLog().Start();

    EXPECT_FALSE(table.Save(SAVE));
    EXPECT_EQ(ReadFile(SAVE), old);
    EXPECT_TRUE(std::filesystem::is_directory(SAVE + ".tmp"));
    EXPECT_TRUE(LogHas("Couldn't save records", "Red"));
    EXPECT_FALSE(LogHas("Complete"));
    EXPECT_EQ(table.GetRows().size(), 2u) << "the table itself is unchanged";
}

TEST_F(HighScoresTest, AFolderCannotBeSavedOverEither) {
    std::filesystem::create_directory(SAVE);
    CHighScores table;
    EXPECT_EQ(table.Load(SAVE), 0) << "a folder counts as no file";
    EXPECT_EQ(table.GetRows().size(), 12u);
    ASSERT_TRUE(table.Insert(u"NEW", 100));
    EXPECT_FALSE(table.Save(SAVE));
    EXPECT_TRUE(std::filesystem::is_directory(SAVE));
    EXPECT_FALSE(std::filesystem::exists(SAVE + ".tmp"));
}

TEST_F(HighScoresTest, AFileNotReadWholeIsKeptBesideTheFirstSave) {
    std::vector<std::uint32_t> seventeen;
    for (std::uint32_t score = 170; score > 0; score -= 10) {
        seventeen.push_back(score);
    }
    struct Case {
        const char* name;
        std::string bytes;
        bool kept;
    };
    const Case cases[] = {
        {"41 bytes", Record(u"ANN", 7) + "x", true},
        {"39 bytes", Record(u"ANN", 7).substr(0, 39), true},
        {"seventeen rows, one more than are read", Table(seventeen), true},
        {"sixteen rows", Table(std::vector<std::uint32_t>(seventeen.begin() + 1, seventeen.end())),
         false},
        {"an empty file", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(SAVE + ".bad");
        WriteFile(SAVE, c.bytes);
        CHighScores table;
        table.Load(SAVE);
        HtmlLog().Start();
        table.Insert(u"NEW", 1000);
        ASSERT_TRUE(table.Save(SAVE));
        EXPECT_EQ(ReadFile(SAVE).substr(0, 40), Record(u"NEW", 1000));
        EXPECT_EQ(std::filesystem::exists(SAVE + ".bad"), c.kept);
        EXPECT_EQ(LogHas("Unreadable file kept as " + SAVE + ".bad", "Red"), c.kept);
        if (c.kept) {
            EXPECT_EQ(ReadFile(SAVE + ".bad"), c.bytes);
        }
    }
}

class HighScoresDrawTest : public frontend_test::FrontendWorldTest {
protected:
    void SetUp() override {
        FrontendWorldTest::SetUp();
        font = AddFont();
        WriteFile(SAVE, Record(u"ANN", 120) + Record(u"BO", 7) + Record(u"CY", 5));
        table.Load(SAVE);
    }

    // The glyphs of the last draw, one text per run of glyphs on one line.
    struct Text {
        std::u16string text;
        float x;
        float right;
        float y;
        std::uint32_t colour;
    };
    std::vector<Text> Texts() const {
        std::vector<Text> texts;
        float step = 0.0f;
        for (const DrawnGlyph& glyph : Glyphs()) {
            if (!texts.empty() && texts.back().y == glyph.y && texts.back().right == glyph.x &&
                texts.back().colour == glyph.colour) {
                texts.back().text += glyph.character;
                texts.back().right += step;
                continue;
            }
            step = static_cast<float>(static_cast<int>(frontend_test::GLYPH_ADVANCE * scale.x));
            texts.push_back({std::u16string(1, glyph.character), glyph.x, glyph.x + step, glyph.y,
                             glyph.colour});
        }
        return texts;
    }

    HResult DrawAsTheGameDoes(Vec2 origin) {
        device.draws.clear();
        return table.Draw(font, scale, 1.0f, origin, 0xFFFFFFFF, 0.0f, -45.0f, 367.0f, 33.6f);
    }

    CHighScores table;
    std::int32_t font = -1;
    Vec2 scale{1.0f, 1.0f};
};

TEST_F(HighScoresDrawTest, RowsStandInTheirColumns) {
    struct Case {
        const char* name;
        Vec2 scale;
        Vec2 origin;
        float rankX, nameX, scoreRight;
        std::vector<float> rowY;
    };
    const Case cases[] = {
        {"design scale", {1.0f, 1.0f}, {345.0f, 196.0f}, 300, 345, 712, {196, 229, 263}},
        {"Japanese sits lower", {1.0f, 1.0f}, {345.0f, 200.0f}, 300, 345, 712, {200, 233, 267}},
        {"half scale", {0.5f, 0.5f}, {345.0f, 196.0f}, 150, 172, 356, {98, 114, 131}},
    };
    table.SetVisible(true);
    ASSERT_TRUE(table.Insert(u"DEE", 100));  // row 1, highlighted
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scale = c.scale;
        // The game keeps the manager's scale and the one it passes equal.
        Resources().OnResetDevice(&device, scale.x, scale.y, 0.0f, 0.0f);
        ASSERT_EQ(DrawAsTheGameDoes(c.origin), RESULT_OK);
        const std::vector<Text> texts = Texts();
        const std::vector<std::u16string> expected{u"1.", u"ANN", u"120", u"2.", u"DEE", u"100",
                                                   u"3.", u"BO",  u"7",   u"4.", u"CY",  u"5"};
        ASSERT_EQ(texts.size(), expected.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::size_t row = i / 3;
            SCOPED_TRACE(row);
            EXPECT_EQ(texts[i].text, expected[i]);
            EXPECT_EQ(texts[i].colour, row == 1 ? 0xFFFFFF00u : 0xFFFFFFFFu);
            if (row < c.rowY.size()) {
                EXPECT_EQ(texts[i].y, c.rowY[row]);
            }
            switch (i % 3) {
                case 0:
                    EXPECT_EQ(texts[i].x, c.rankX);
                    break;
                case 1:
                    EXPECT_EQ(texts[i].x, c.nameX);
                    break;
                default:
                    EXPECT_EQ(texts[i].right, c.scoreRight);
                    break;
            }
        }
    }
}

TEST_F(HighScoresDrawTest, EveryLoadedRowIsDrawnUntilAnInsertCutsTheTable) {
    WriteFile(SAVE, Table({150, 140, 130, 120, 110, 100, 90, 80, 70, 60, 50, 40, 30, 20, 10}));
    ASSERT_EQ(table.Load(SAVE), 15);
    table.SetVisible(true);
    const auto ranks = [this] {
        std::vector<std::pair<std::u16string, float>> found;
        for (const Text& text : Texts()) {
            if (text.x == 300.0f) {
                found.emplace_back(text.text, text.y);
            }
        }
        return found;
    };
    DrawAsTheGameDoes({345.0f, 196.0f});
    const auto before = ranks();
    ASSERT_EQ(before.size(), 15u);
    EXPECT_EQ(before[14].first, u"15.");
    EXPECT_EQ(before[14].second, 666.0f);  // 196 + 14 x 33.6, cut to a whole pixel

    EXPECT_FALSE(table.Insert(u"LOW", 1));
    DrawAsTheGameDoes({345.0f, 196.0f});
    EXPECT_EQ(ranks().size(), 12u);
}

TEST_F(HighScoresDrawTest, AHugeFileLoadsAndDrawsOnlyTheRowsThePageShows) {
    std::vector<std::uint32_t> scores(100000);
    for (std::size_t i = 0; i < scores.size(); ++i) {
        scores[i] = static_cast<std::uint32_t>(scores.size() - i);
    }
    WriteFile(SAVE, Table(scores));
    ASSERT_EQ(table.Load(SAVE), 16);
    EXPECT_EQ(table.GetRows().back().score, 100000u - 15u);
    table.SetVisible(true);
    DrawAsTheGameDoes({345.0f, 196.0f});
    std::vector<Text> ranks;
    for (const Text& text : Texts()) {
        if (text.x == 300.0f) {
            ranks.push_back(text);
        }
    }
    ASSERT_EQ(ranks.size(), 16u);
    EXPECT_EQ(ranks.back().text, u"16.");
    EXPECT_EQ(ranks.back().y, 700.0f);  // 196 + 15 x 33.6, on the page
}

TEST_F(HighScoresDrawTest, HiddenDrawsNothingAndHidingClearsTheHighlight) {
    ASSERT_TRUE(table.Insert(u"DEE", 100));
    EXPECT_EQ(DrawAsTheGameDoes({345.0f, 196.0f}), RESULT_OK);
    EXPECT_TRUE(device.draws.empty()) << "a new table is hidden";

    table.SetVisible(true);
    EXPECT_EQ(table.GetHighlightedRow(), 1) << "showing keeps the highlight";
    table.SetVisible(false);
    EXPECT_EQ(table.GetHighlightedRow(), -1);
    table.SetVisible(true);
    DrawAsTheGameDoes({345.0f, 196.0f});
    ASSERT_FALSE(Glyphs().empty());
    for (const DrawnGlyph& glyph : Glyphs()) {
        EXPECT_EQ(glyph.colour, 0xFFFFFFFFu);
    }
}

TEST_F(HighScoresDrawTest, TheColourMasksEveryRowAndABadFontFails) {
    table.SetVisible(true);
    ASSERT_TRUE(table.Insert(u"DEE", 100));
    device.draws.clear();
    EXPECT_EQ(table.Draw(font, scale, 1.0f, {345, 196}, 0x80FF00FF, 0.0f, -45, 367, 33.6f),
              RESULT_OK);
    for (const Text& text : Texts()) {
        EXPECT_EQ(text.colour, text.y == 229.0f ? 0x80FF0000u : 0x80FF00FFu);
    }
    device.draws.clear();
    EXPECT_EQ(table.Draw(font + 1, scale, 1.0f, {345, 196}, 0xFFFFFFFF, 0.0f, -45, 367, 33.6f),
              RESULT_FAIL);
    EXPECT_TRUE(device.draws.empty());
}

}  // namespace
