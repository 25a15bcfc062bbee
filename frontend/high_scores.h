#pragma once
// The table of the best final scores, each with the player's name. It is read
// from high_scores.sav once at start, takes one entry at the end of every
// game, is written back when that entry beat an existing row, and is drawn on
// the menu while it is shown.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/geometry.h"
#include "engine/platform/media_result.h"
#include "game/save_file.h"

// The table's file in the per-user folder.
inline constexpr const char* HIGH_SCORES_FILE = "high_scores.sav";

// One row of the table and, byte for byte, one record of high_scores.sav:
// 17 UTF-16 units of name (at most 16 characters and a terminating zero),
// two padding bytes, the score as an unsigned 32-bit number.
struct ScoreRecord {
    static constexpr std::size_t NAME_UNITS = 17;
    static constexpr std::size_t MAX_NAME_LENGTH = NAME_UNITS - 1;
    static constexpr std::size_t FILE_SIZE = 40;
    static constexpr std::size_t NAME_OFFSET = 0;
    static constexpr std::size_t PADDING_OFFSET = 34;
    static constexpr std::size_t SCORE_OFFSET = 36;

    std::array<char16_t, NAME_UNITS> name{};
    std::uint32_t score = 0;

    ScoreRecord() = default;
    // Longer names keep their first 16 units; the 17th stays zero.
    ScoreRecord(std::u16string_view playerName, std::uint32_t playerScore);

    // The name up to its terminating zero.
    std::u16string Name() const;
};

class CHighScores {
public:
    // Every Insert cuts the table to this many rows; a longer file still
    // loads up to MAX_SHOWN_ROWS.
    static constexpr std::size_t MAX_ROWS = 12;
    // From the table's top at y 196 of the 768-high menu page, rows 33.6
    // apart, sixteen rows fit on the page: a longer file loads only those.
    static constexpr std::size_t MAX_SHOWN_ROWS = 16;

    CHighScores() = default;

    // Reads the records of `path` in file order, no more than MAX_SHOWN_ROWS,
    // and returns how many it read. Without a file the table gets its
    // placeholder rows and nothing is written. The highlight is cleared
    // either way. A file not read whole is kept as "<path>.bad" at the first
    // save over it.
    int Load(const std::string& path);
    // Twelve placeholder rows named with the language text "EMPTY_RECORD",
    // score 0.
    void Reset();
    // Enters a finished game. True only when the row went in above an
    // existing row (ties stay above the newcomer); the caller saves the table
    // then. A row appended to a short table is highlighted but answers false.
    bool Insert(std::u16string_view name, std::uint32_t score);
    // Writes the table through a temporary file in the same folder, so that a
    // failed write leaves the previous file as it was.
    bool Save(const std::string& path);
    // Hiding also drops the highlight.
    void SetVisible(bool show);
    // Every row: its rank, the name from `origin`, the score right-aligned on
    // `scoreRightX`, rows `rowDistance` apart; the highlighted row in yellow.
    // Design positions, multiplied here by the screen scale.
    HResult Draw(std::int32_t font, Vec2 screenScale, float textScale, Vec2 origin,
                 std::uint32_t colour, float letterSpacing, float rankOffsetX, float scoreRightX,
                 float rowDistance);

    const std::vector<ScoreRecord>& GetRows() const { return m_rows; }
    std::int32_t GetHighlightedRow() const { return m_highlightedRow; }
    bool IsVisible() const { return m_visible; }

private:
    std::int32_t m_highlightedRow = -1;
    bool m_visible = false;
    std::vector<ScoreRecord> m_rows;
    CSaveFileGuard m_fileGuard;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CHighScores g_highScores;
