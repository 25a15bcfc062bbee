// Bitmap fonts: the two font file readers, and text drawing and measuring.
#include "engine/media/bitmap_font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"
#include "engine/platform/html_log.h"
#include "engine/platform/regular_file.h"
#include "engine/platform/value_parsers.h"

namespace {

// A strip font's symbols file is read up to this many bytes after its
// byte-order mark, and at most this many symbols of it are used.
constexpr std::size_t MAX_STRIP_SYMBOL_BYTES = 4096;
constexpr std::size_t MAX_STRIP_SYMBOLS = 4095;

// A space advances this share of the third glyph's advance.
constexpr float SPACE_SHARE = 0.7f;

// Reads a whole file as bytes; false when it does not open as a regular file
// (`opened` tells which) or a read fails.
bool ReadWholeFile(const std::string& path, std::string& bytes, bool& opened) {
    opened = false;
    std::FILE* file = OpenRegularFile(path);
    if (file == nullptr) {
        return false;
    }
    bytes.clear();
    char buffer[32768];
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        bytes.append(buffer, got);
        if (got < sizeof buffer) {
            ok = std::ferror(file) == 0;
            break;
        }
    }
    std::fclose(file);
    opened = true;
    return ok;
}

// Lines may end with CR LF; the CR goes, as a text-mode read would drop it.
void DropCarriageReturns(std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            continue;
        }
        out.push_back(bytes[i]);
    }
    bytes.swap(out);
}

bool IsNumberChar(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-';
}

// An optional sign and decimal digits; reading stops at anything else, and
// nothing readable gives 0.
std::int32_t ConvertNumber(const std::u16string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + static_cast<std::uint32_t>(text[i] - u'0');
    }
    // Negated in unsigned arithmetic: an overlong number wraps instead of
    // overflowing.
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

enum class Section { None, Characters, Widths, Rectangles, Offsets, KerningPairs, KerningValues };

struct FontTextLists {
    std::vector<char16_t> characters;
    std::vector<std::int32_t> widths;
    std::vector<std::array<std::int32_t, 4>> rectangles;
    std::vector<std::array<std::int32_t, 2>> offsets;
    std::vector<std::u16string> kerningPairs;
    std::vector<std::int32_t> kerningValues;
};

// Numbers of groups "(a, b, ...)", N kept per group and extra ones dropped. The
// field position carries over from line to line, as the format has always had
// it: a comma after a section's last pair therefore reaches the closing ")" and
// adds one more pair, so font files end their last group without a comma.
template <std::size_t N>
struct GroupReader {
    std::array<std::int32_t, N> values{};
    std::size_t field = 0;

    void Line(const std::u16string& line, std::vector<std::array<std::int32_t, N>>& out) {
        std::u16string number;
        for (const char16_t c : line) {
            if (IsNumberChar(c)) {
                number.push_back(c);
                continue;
            }
            if (!number.empty()) {
                if (field < N) {
                    values[field] = ConvertNumber(number);
                }
                number.clear();
            }
            if (c == u'(') {
                field = 0;
            } else if (c == u',') {
                if (field <= N) {
                    ++field;
                }
            } else if (c == u')' && field >= N - 1) {
                out.push_back(values);
                field = 0;
            }
        }
    }
};

void ReadNumberList(const std::u16string& line, std::vector<std::int32_t>& out) {
    std::u16string number;
    for (const char16_t c : line) {
        if (IsNumberChar(c)) {
            number.push_back(c);
        } else if (c == u',' || c == u')') {
            out.push_back(ConvertNumber(number));
            number.clear();
        }
    }
}

void ReadCharacterList(const std::u16string& line, std::vector<char16_t>& out) {
    // 'A', 'B', ''', ',' lists A, B, the apostrophe and the comma.
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == u'\'' && i + 1 < line.size()) {
            out.push_back(line[i + 1]);
            i += 2;
        }
    }
}

void ReadKerningPairs(const std::u16string& line, std::vector<std::u16string>& out) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == u'"' && i + 2 < line.size()) {
            out.push_back(line.substr(i + 1, 2));
            i += 3;
        }
    }
}

// The lines of a font text file: cut at line feeds, the text after the last one
// dropped; a line counts when it holds at least two characters (the first line
// of the file at least three).
std::vector<std::u16string> FontTextLines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    bool first = true;
    for (std::size_t end = text.find(u'\n'); end != std::u16string::npos;
         end = text.find(u'\n', start)) {
        std::u16string line = text.substr(start, end - start);
        if (line.size() >= (first ? 3u : 2u)) {
            lines.push_back(std::move(line));
        }
        first = false;
        start = end + 1;
    }
    return lines;
}

FontTextLists ParseFontText(const std::vector<std::u16string>& lines) {
    FontTextLists lists;
    GroupReader<4> rectangles;
    GroupReader<2> offsets;
    Section section = Section::None;
    for (const std::u16string& line : lines) {
        const auto has = [&line](std::u16string_view text) {
            return line.find(text) != std::u16string::npos;
        };
        if (has(u"Define CharList")) {
            section = Section::Characters;
            continue;
        }
        if (has(u"Define WidthList")) {
            section = Section::Widths;
            continue;
        }
        if (has(u"Define RectList")) {
            section = Section::Rectangles;
            continue;
        }
        if (has(u"Define OffsetList")) {
            section = Section::Offsets;
            continue;
        }
        if (has(u"Define KerningPairs")) {
            section = Section::KerningPairs;
            continue;
        }
        if (has(u"Define KerningValues")) {
            section = Section::KerningValues;
            continue;
        }
        switch (section) {
            case Section::Characters:
                ReadCharacterList(line, lists.characters);
                break;
            case Section::Widths:
                ReadNumberList(line, lists.widths);
                break;
            case Section::Rectangles:
                rectangles.Line(line, lists.rectangles);
                break;
            case Section::Offsets:
                offsets.Line(line, lists.offsets);
                break;
            case Section::KerningPairs:
                ReadKerningPairs(line, lists.kerningPairs);
                break;
            case Section::KerningValues:
                ReadNumberList(line, lists.kerningValues);
                break;
            case Section::None:
                break;
        }
        if (has(u");")) {
            section = Section::None;
        }
    }
    return lists;
}

struct StripCorrection {
    std::int32_t character = 0;
    std::int32_t left = 0;
    std::int32_t right = 0;
};

// "A 1 -2|W 0 3": the first byte is the character, the second and third
// numbers move its left and right edges.
std::vector<StripCorrection> ReadCorrections(const std::string& editing) {
    std::vector<std::string> pieces;
    SplitToStrings(editing, "|", &pieces);
    std::vector<StripCorrection> corrections;
    for (const std::string& piece : pieces) {
        std::vector<std::int32_t> numbers;
        SplitToInts(piece, " ", &numbers);
        if (numbers.size() < 3) {
            continue;
        }
        // The byte is widened with its sign, so only ASCII characters match.
        corrections.push_back({static_cast<std::int32_t>(static_cast<signed char>(piece[0])),
                               numbers[1], numbers[2]});
    }
    return corrections;
}

const GlyphRecord* FindGlyph(const FontRecord& font, char16_t character) {
    const std::int32_t index = font.glyphIndex.Find(character);
    if (index < 0 || static_cast<std::size_t>(index) >= font.glyphs.size()) {
        return nullptr;
    }
    return &font.glyphs[static_cast<std::size_t>(index)];
}

}  // namespace

void CGlyphIndex::Build(const std::vector<GlyphRecord>& glyphs) {
    m_pages.assign(PAGE_SIZE, {});
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const char16_t character = glyphs[i].character;
        std::vector<std::int32_t>& page = m_pages[character >> 8];
        if (page.empty()) {
            page.assign(PAGE_SIZE, -1);
        }
        std::int32_t& entry = page[character & 0xFF];
        if (entry < 0) {
            entry = static_cast<std::int32_t>(i);
        }
    }
}

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
            minimum = 0x10000;
        }
        bool valid = length != 0 && i + length <= bytes.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                code = (code << 6) | (next & 0x3F);
            }
        }
        if (valid && (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) {
            valid = false;
        }
        if (!valid) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return out;
}

bool CResourceManager::ReadFontFile(FontRecord& font) {
    HtmlLog().Write("Blue", "Initializing characters (%s)", font.dataPath.c_str());
    std::string bytes;
    bool opened = false;
    // Read whole, so that no read boundary can cut a character in two.
    if (!ReadWholeFile(font.dataPath, bytes, opened)) {
        if (!opened) {
            HtmlLog().WriteEx("Red", true, true, "Couldn't open file");
        } else {
            HtmlLog().WriteEx("Red", false, true, "Error: Mistake at reading file");
        }
        return false;
    }
    DropCarriageReturns(bytes);
    const FontTextLists lists = ParseFontText(FontTextLines(DecodeUtf8(bytes)));

    bool ok = true;
    const std::size_t count = lists.characters.size();
    if (lists.widths.size() != count || lists.rectangles.size() != count ||
        lists.offsets.size() != count || font.maxLength <= 0) {
        HtmlLog().WriteEx("Red", true, true, "Error: Unequal number of characters data");
        ok = false;
    } else {
        // Worked out in 64 bits and saturated: the numbers come from the file.
        const std::int64_t h = font.height;
        const std::int64_t m = font.maxLength;
        for (std::size_t i = 0; i < count; ++i) {
            const std::int64_t x = lists.rectangles[i][0];
            const std::int32_t y = lists.rectangles[i][1];
            const std::int32_t w = lists.rectangles[i][2];
            // Glyphs written as positions along one long strip are laid into
            // rows of m pixels, h pixels apart.
            GlyphRecord glyph;
            glyph.character = lists.characters[i];
            glyph.advance = w;
            glyph.height = font.height;
            glyph.left = static_cast<std::int32_t>(x % m);
            glyph.top = x > m ? SaturateToInt32(h * (x / m)) : y;
            glyph.right = SaturateToInt32(std::int64_t{glyph.left} + w);
            glyph.bottom = SaturateToInt32(std::int64_t{glyph.top} + h);
            glyph.sheetX = glyph.left;
            glyph.sheetY = glyph.top;
            glyph.width = w;
            font.glyphs.push_back(glyph);
        }
    }
    if (lists.kerningPairs.size() == lists.kerningValues.size()) {
        for (std::size_t i = 0; i < lists.kerningPairs.size(); ++i) {
            font.kerning.push_back({lists.kerningPairs[i], lists.kerningValues[i]});
        }
    } else {
        HtmlLog().WriteEx("Red", true, true, "Error: Unequal number of kerning data");
        ok = false;
    }
    font.glyphIndex.Build(font.glyphs);
    if (ok) {
        HtmlLog().Write("Green", "Complete");
    }
    return ok;
}

int CResourceManager::ReadFontFiFile(FontRecord& font) {
    HtmlLog().Write("Blue", "Initializing characters (%s)", font.dataPath.c_str());
    const std::vector<StripCorrection> corrections = ReadCorrections(font.editing);

    std::string symbolBytes;
    bool opened = false;
    if (!ReadWholeFile(font.symbolsPath, symbolBytes, opened)) {
        HtmlLog().WriteEx("Red", true, true, "Couldn't open symbol file");
        return 0;
    }
    // The file starts with the UTF-8 byte-order mark, which is skipped unread.
    symbolBytes.erase(0, std::min<std::size_t>(3, symbolBytes.size()));
    DropCarriageReturns(symbolBytes);
    if (symbolBytes.size() > MAX_STRIP_SYMBOL_BYTES) {
        symbolBytes.resize(MAX_STRIP_SYMBOL_BYTES);
    }
    std::u16string symbols = DecodeUtf8(symbolBytes);
    if (symbols.size() > MAX_STRIP_SYMBOLS) {
        symbols.resize(MAX_STRIP_SYMBOLS);
    }

    std::string data;
    if (!ReadWholeFile(font.dataPath, data, opened)) {
        HtmlLog().WriteEx("Red", true, true, "Couldn't open file");
        return 0;
    }

    int made = 0;
    const std::int64_t m = font.maxLength;
    const std::int64_t h = font.height;
    if (!data.empty() && m > 0 && !symbols.empty()) {
        // One word per symbol; a partial last word is no glyph.
        const std::size_t words = std::min(symbols.size(), data.size() / 4);
        std::int64_t shift = 0;
        for (std::size_t i = 0; i < words; ++i) {
            const auto byte = [&data, i](std::size_t k) {
                return static_cast<std::uint32_t>(static_cast<unsigned char>(data[i * 4 + k]));
            };
            const std::uint32_t word = byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24);
            const std::int64_t x = word & 0xFFFF;
            const std::int64_t w = word >> 16;
            // A glyph that would reach the end of its row (ending exactly on it
            // included) moves to the start of the next row, and so do all after it.
            if ((x + shift + w) / m > (x + shift) / m) {
                shift += m - (x + shift) % m;
            }
            // The edges stay 64 bits wide until the corrections are in, and are
            // saturated only then: row widths, heights and corrections come
            // from the files.
            const std::int64_t top = h * ((x + shift) / m);
            std::int64_t left = (x + shift) % m;
            std::int64_t right = left + w;
            for (const StripCorrection& correction : corrections) {
                if (correction.character == static_cast<std::int32_t>(symbols[i])) {
                    left += correction.left;
                    right += correction.right;
                }
            }
            GlyphRecord glyph;
            glyph.character = symbols[i];
            glyph.advance = static_cast<std::int32_t>(w);
            glyph.height = font.height;
            glyph.left = SaturateToInt32(left);
            glyph.top = SaturateToInt32(top);
            glyph.right = SaturateToInt32(right);
            glyph.bottom = SaturateToInt32(top + h - 1);
            glyph.sheetX = SaturateToInt32((x + shift) % m);
            glyph.sheetY = glyph.top;
            glyph.width = glyph.advance;
            font.glyphs.push_back(glyph);
            ++made;
        }
    }
    font.glyphIndex.Build(font.glyphs);
    HtmlLog().Write("Green", "Complete");
    return made;
}

HResult CResourceManager::DrawText(std::int32_t font, std::u16string_view text, Vec2 scaling,
                                   Vec2 position, std::uint32_t colour, bool centreX, bool centreY,
                                   float letterSpacing, float lineSpacing, bool snap) {
    if (!IsFontIndex(font)) {
        return RESULT_FAIL;
    }
    const FontRecord& record = m_fonts[static_cast<std::size_t>(font)];
    text = text.substr(0, text.find(u'\0'));
    ++m_textCalls;
    const float extra = letterSpacing + record.interval;
    // The first glyph gives the line height and the third the space: a font
    // without them has no line feeds or spaces to draw.
    const bool hasLineHeight = !record.glyphs.empty();
    const bool hasSpace = record.glyphs.size() >= 3;
    const float lineHeight = hasLineHeight ? static_cast<float>(record.glyphs[0].height) : 0.0f;

    const auto lineHalfWidth = [&](std::u16string_view rest) {
        return std::trunc(GetTextWidth(font, std::u16string(rest), letterSpacing, false, 0) *
                          scaling.x * 0.5f);
    };
    float halfWidth = centreX ? lineHalfWidth(text) : 0.0f;
    const float halfHeight =
        centreY && hasLineHeight ? (lineHeight + lineSpacing) * scaling.y * 0.5f : 0.0f;
    float penX = std::trunc(position.x) - halfWidth;
    float penY = (snap ? std::trunc(position.y) : position.y) - halfHeight;

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n') {
            if (!hasLineHeight) {
                continue;
            }
            halfWidth = centreX ? lineHalfWidth(text.substr(i + 1)) : 0.0f;
            penX = std::trunc(position.x - halfWidth);
            // Lines advance by whole pixels even without snapping.
            penY += std::trunc((lineHeight + lineSpacing) * scaling.y);
            continue;
        }
        if (c == u' ') {
            if (hasSpace) {
                penX += std::trunc((static_cast<float>(record.glyphs[2].advance) + extra) *
                                   scaling.x * SPACE_SHARE);
            }
            continue;
        }
        const GlyphRecord* glyph = FindGlyph(record, c);
        if (glyph == nullptr) {
            continue;
        }
        backend::Rect source{glyph->left, glyph->top, glyph->right, glyph->bottom};
        if (record.kerningTrim != 0) {
            source.right = SaturateToInt32(std::int64_t{source.right} - record.kerningTrim);
        }
        bool shown = m_sprite != nullptr;
        if (shown && glyphObserver) {
            const float left = penX + m_offset.x;
            const float top = penY + m_offset.y;
            shown =
                glyphObserver({m_textCalls, font, c, left, top,
                               left + static_cast<float>(source.right - source.left) * scaling.x,
                               top + static_cast<float>(source.bottom - source.top) * scaling.y,
                               colour & m_colourMask});
        }
        if (shown) {
            backend::SpriteDraw draw;
            draw.texture = record.texture;
            draw.source = &source;
            draw.scale = {scaling.x, scaling.y};
            draw.translation = {penX + m_offset.x, penY + m_offset.y};
            draw.colour = colour & m_colourMask;
            m_sprite->Draw(draw);
        }
        penX += std::trunc((static_cast<float>(glyph->advance) + extra) * scaling.x);
    }
    return RESULT_OK;
}

HResult CResourceManager::DrawTextAt(std::int32_t font, std::u16string_view text, float x, float y,
                                     std::uint32_t colour) {
    return DrawText(font, text, {1.0f, 1.0f}, {x, y}, colour, false, false, 0.0f, 0.0f, true);
}

HResult CResourceManager::DrawTextScaled(std::int32_t font, std::u16string_view text, Vec2 scaling,
                                         float x, float y, std::uint32_t colour) {
    return DrawText(font, text, scaling, {x, y}, colour, false, false, 0.0f, 0.0f, true);
}

float CResourceManager::GetTextWidth(std::int32_t font, std::u16string text, float letterSpacing,
                                     bool scaled, std::int32_t line) {
    if (!IsFontIndex(font)) {
        return -1.0f;
    }
    const FontRecord& record = m_fonts[static_cast<std::size_t>(font)];
    const float s = scaled ? m_scale.x : 1.0f;
    const float extra = letterSpacing + record.interval;
    float width = 0.0f;
    std::int32_t current = 0;
    for (const char16_t c : text) {
        if (c == u'\n') {
            ++current;
            continue;
        }
        if (line != -1 && line != current) {
            continue;
        }
        if (c == u' ') {
            if (record.glyphs.size() >= 3) {
                width += std::trunc((static_cast<float>(record.glyphs[2].advance) + extra) * s *
                                    SPACE_SHARE);
            }
            continue;
        }
        if (const GlyphRecord* glyph = FindGlyph(record, c)) {
            width += std::trunc((static_cast<float>(glyph->advance) + extra) * s);
        }
    }
    return width;
}

std::int32_t CResourceManager::GetFontLineHeight(std::int32_t font) const {
    if (!IsFontIndex(font) || m_fonts[static_cast<std::size_t>(font)].glyphs.empty()) {
        return -1;
    }
    return m_fonts[static_cast<std::size_t>(font)].glyphs[0].height;
}
