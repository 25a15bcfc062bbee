#include "frontend/high_scores.h"

#include <algorithm>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/text_storage.h"
#include "engine/platform/value_parsers.h"

namespace {

constexpr std::uint32_t ROW_COLOUR = 0xFFFFFFFF;
constexpr std::uint32_t HIGHLIGHT_COLOUR = 0xFFFFFF00;

ScoreRecord DecodeRecord(CSaveReader& reader, std::size_t at) {
    ScoreRecord record;
    for (std::size_t i = 0; i < ScoreRecord::NAME_UNITS; ++i) {
        record.name[i] = reader.U16(at + ScoreRecord::NAME_OFFSET + 2 * i);
    }
    // Every record the game writes ends its name with a zero; one that does not
    // would run into the padding and the score when shown.
    record.name[ScoreRecord::MAX_NAME_LENGTH] = 0;
    record.score = reader.U32(at + ScoreRecord::SCORE_OFFSET);
    return record;
}

// The padding bytes are left at 0.
void EncodeRecord(const ScoreRecord& record, CSaveWriter& writer, std::size_t at) {
    for (std::size_t i = 0; i < ScoreRecord::NAME_UNITS; ++i) {
        writer.U16(at + ScoreRecord::NAME_OFFSET + 2 * i, record.name[i]);
    }
    writer.U32(at + ScoreRecord::SCORE_OFFSET, record.score);
}

}  // namespace

ScoreRecord::ScoreRecord(std::u16string_view playerName, std::uint32_t playerScore)
    : score(playerScore) {
    const std::size_t length = std::min(playerName.size(), MAX_NAME_LENGTH);
    std::copy_n(playerName.begin(), length, name.begin());
}

std::u16string ScoreRecord::Name() const {
    const auto end = std::find(name.begin(), name.end(), u'\0');
    return std::u16string(name.begin(), end);
}

int CHighScores::Load(const std::string& path) {
    m_highlightedRow = -1;
    m_rows.clear();
    HtmlLog().Write("Blue", "Load records (%s):\n", path.c_str());

    // A longer file loads the rows the page shows, and the next entry cuts
    // them to twelve.
    std::vector<std::uint8_t> bytes;
    std::uintmax_t size = 0;
    if (ReadSaveFileStart(path, MAX_SHOWN_ROWS * ScoreRecord::FILE_SIZE, &bytes, &size) !=
        SaveFileRead::Read) {
        m_fileGuard.FoundNone();
        Reset();
        HtmlLog().Write("Blue", "Create new records");
        return 0;
    }

    // An incomplete last piece is no record and is dropped.
    CSaveReader reader(bytes.data(), bytes.size());
    int count = 0;
    for (std::size_t at = 0; at + ScoreRecord::FILE_SIZE <= bytes.size();
         at += ScoreRecord::FILE_SIZE) {
        m_rows.push_back(DecodeRecord(reader, at));
        ++count;
    }
    m_fileGuard.Found(path, size == static_cast<std::uintmax_t>(count) * ScoreRecord::FILE_SIZE);
    HtmlLog().Write("Green", "Complete");
    return count;
}

void CHighScores::Reset() {
    m_rows.clear();
    const std::u16string placeholder = TextStorage().GetText("EMPTY_RECORD");
    m_rows.assign(MAX_ROWS, ScoreRecord(placeholder, 0));
}

bool CHighScores::Insert(std::u16string_view name, std::uint32_t score) {
    bool aboveExisting = false;
    const auto lower = std::find_if(m_rows.begin(), m_rows.end(),
                                    [score](const ScoreRecord& row) { return row.score < score; });
    if (lower != m_rows.end()) {
        m_highlightedRow = static_cast<std::int32_t>(lower - m_rows.begin());
        m_rows.insert(lower, ScoreRecord(name, score));
        aboveExisting = true;
    } else if (m_rows.size() < MAX_ROWS) {
        m_rows.emplace_back(name, score);
        m_highlightedRow = static_cast<std::int32_t>(m_rows.size()) - 1;
    }
    if (m_rows.size() > MAX_ROWS) {
        m_rows.resize(MAX_ROWS);
    }
    return aboveExisting;
}

bool CHighScores::Save(const std::string& path) {
    HtmlLog().Write("Blue", "Save records (%s):\n", path.c_str());
    CSaveWriter writer(m_rows.size() * ScoreRecord::FILE_SIZE);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        EncodeRecord(m_rows[i], writer, i * ScoreRecord::FILE_SIZE);
    }
    if (!m_fileGuard.Write(path, writer.Bytes())) {
        HtmlLog().Write("Red", "Couldn't save records");
        return false;
    }
    HtmlLog().Write("Green", "Complete");
    return true;
}

void CHighScores::SetVisible(bool show) {
    m_visible = show;
    if (!show) {
        m_highlightedRow = -1;
    }
}

HResult CHighScores::Draw(std::int32_t font, Vec2 screenScale, float textScale, Vec2 origin,
                          std::uint32_t colour, float letterSpacing, float rankOffsetX,
                          float scoreRightX, float rowDistance) {
    if (!m_visible) {
        return RESULT_OK;
    }
    CResourceManager& resources = ResourceManager::Instance();
    const float left = origin.x * screenScale.x;
    const float top = origin.y * screenScale.y;
    const float rankX = left + rankOffsetX * screenScale.x;
    const float scoreRight = left + scoreRightX * screenScale.x;
    const float step = rowDistance * screenScale.y;
    const Vec2 scaling{textScale * screenScale.x, textScale * screenScale.y};

    HResult result = RESULT_OK;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const float y = top + static_cast<float>(i) * step;
        const bool highlighted = static_cast<std::int32_t>(i) == m_highlightedRow;
        const std::uint32_t rowColour = (highlighted ? HIGHLIGHT_COLOUR : ROW_COLOUR) & colour;
        const auto draw = [&](const std::u16string& text, float x) {
            return resources.DrawText(font, text, scaling, {x, y}, rowColour, false, false,
                                      letterSpacing, 0.0f, true);
        };

        const std::u16string rank = WidenString(std::to_string(i + 1) + ".");
        // Scores are unsigned: a score above 2^31 is shown as it is stored.
        const std::u16string score = WidenString(std::to_string(m_rows[i].score));
        const float scoreWidth = resources.GetTextWidth(font, score, 0.0f, true, -1);
        for (const auto& [text, x] : {std::pair{rank, rankX}, std::pair{m_rows[i].Name(), left},
                                      std::pair{score, scoreRight - scoreWidth * textScale}}) {
            result = draw(text, x);
            if (Failed(result)) {
                return result;
            }
        }
    }
    return result;
}
