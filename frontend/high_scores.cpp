#include "frontend/high_scores.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/text_storage.h"
#include "engine/platform/value_parsers.h"

namespace {

constexpr std::uint32_t ROW_COLOUR = 0xFFFFFFFF;
constexpr std::uint32_t HIGHLIGHT_COLOUR = 0xFFFFFF00;

std::uint16_t ReadUnit(const char* bytes) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) |
                                      (static_cast<unsigned char>(bytes[1]) << 8));
}

std::uint32_t ReadWord(const char* bytes) {
    return static_cast<std::uint32_t>(ReadUnit(bytes)) |
           (static_cast<std::uint32_t>(ReadUnit(bytes + 2)) << 16);
}

void WriteUnit(char* bytes, std::uint16_t value) {
    bytes[0] = static_cast<char>(value & 0xFF);
    bytes[1] = static_cast<char>(value >> 8);
}

void WriteWord(char* bytes, std::uint32_t value) {
    WriteUnit(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    WriteUnit(bytes + 2, static_cast<std::uint16_t>(value >> 16));
}

ScoreRecord DecodeRecord(const char* bytes) {
    ScoreRecord record;
    for (std::size_t i = 0; i < ScoreRecord::NAME_UNITS; ++i) {
        record.name[i] = static_cast<char16_t>(ReadUnit(bytes + ScoreRecord::NAME_OFFSET + 2 * i));
    }
    // Every record the game writes ends its name with a zero; one that does not
    // would run into the padding and the score when shown.
    record.name[ScoreRecord::MAX_NAME_LENGTH] = 0;
    record.score = ReadWord(bytes + ScoreRecord::SCORE_OFFSET);
    return record;
}

void EncodeRecord(const ScoreRecord& record, char* bytes) {
    for (std::size_t i = 0; i < ScoreRecord::NAME_UNITS; ++i) {
        WriteUnit(bytes + ScoreRecord::NAME_OFFSET + 2 * i,
                  static_cast<std::uint16_t>(record.name[i]));
    }
    WriteUnit(bytes + ScoreRecord::PADDING_OFFSET, 0);
    WriteWord(bytes + ScoreRecord::SCORE_OFFSET, record.score);
}

// Writes `bytes` to "<path>.tmp" and renames it over `path`. Any failed
// write, flush or close removes the temporary file and leaves `path` alone.
bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
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

    std::error_code ignored;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, ignored)) {
        in.open(path, std::ios::binary);
    }
    if (!in.is_open()) {
        Reset();
        HtmlLog().Write("Blue", "Create new records");
        return 0;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();

    // An incomplete last piece is no record and is dropped.
    int count = 0;
    for (std::size_t at = 0; at + ScoreRecord::FILE_SIZE <= bytes.size();
         at += ScoreRecord::FILE_SIZE) {
        m_rows.push_back(DecodeRecord(bytes.data() + at));
        ++count;
    }
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
    std::string bytes(m_rows.size() * ScoreRecord::FILE_SIZE, '\0');
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        EncodeRecord(m_rows[i], bytes.data() + i * ScoreRecord::FILE_SIZE);
    }
    if (!WriteWholeFile(path, bytes)) {
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
