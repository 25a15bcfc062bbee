#pragma once
// Helpers of the bitmap-font readers. The readers themselves and the text
// drawing are operations of the resource manager.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct GlyphRecord;

// UTF-8 to UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);

// Which glyph of a font each character draws with, found without a search. A
// character listed twice keeps its first glyph. The characters are kept in
// pages of 256, and only the pages that hold a glyph take memory.
class CGlyphIndex {
public:
    // Indexes `glyphs` afresh.
    void Build(const std::vector<GlyphRecord>& glyphs);

    // The place of the character's glyph in the list the index was built from;
    // -1 when the font has none.
    std::int32_t Find(char16_t character) const {
        const std::size_t page = character >> 8;
        if (page >= m_pages.size() || m_pages[page].empty()) {
            return -1;
        }
        return m_pages[page][character & 0xFF];
    }

private:
    static constexpr std::size_t PAGE_SIZE = 256;
    std::vector<std::vector<std::int32_t>> m_pages;
};
