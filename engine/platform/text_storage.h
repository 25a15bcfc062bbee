#pragma once
// The texts the player sees, in the current language: language.xml names the
// language and its text file, whose UTF-8 texts are kept as UTF-16 by text id.
#include <cstddef>
#include <string>
#include <vector>

#include <loki/Singleton.h>

struct TextEntry {
    std::string id;
    std::u16string text;

    void Clear() {
        id.clear();
        text.clear();
    }
};

class CTextStorage {
public:
    // Longest text in UTF-16 units; longer ones are cut.
    static constexpr std::size_t MAX_TEXT_UNITS = 2047;

    CTextStorage() = default;
    ~CTextStorage() { Clear(); }
    CTextStorage(const CTextStorage&) = delete;
    CTextStorage& operator=(const CTextStorage&) = delete;

    // Reads Resources/Data/language.xml, then the current language's text file.
    // False when either does not open; the table then keeps what it held.
    bool Initialize();

    // The text of the first entry with exactly this id; empty when none has it.
    std::u16string GetText(std::string id) const;
    // The first entry with this id, -1 when none has it.
    int FindIndex(const std::string& id) const;
    // Empty for an index outside the table, -1 among them.
    std::u16string GetTextAt(int index) const;

    const std::string& GetLanguage() const { return m_language; }
    std::size_t GetCount() const { return m_entries.size(); }
    void Clear();

private:
    std::vector<TextEntry> m_entries;
    std::string m_language;
};

inline unsigned int GetLongevity(CTextStorage*) {
    return 5;
}

using TextStorageHolder = Loki::SingletonHolder<CTextStorage, Loki::CreateStatic,
                                                Loki::SingletonWithLongevity, Loki::SingleThreaded>;

// The text table, created on first use.
inline CTextStorage& TextStorage() {
    return TextStorageHolder::Instance();
}

// UTF-8 to UTF-16. A malformed sequence becomes U+FFFD; the result ends before
// the first zero unit. Sets `cut` when the text had to be shortened to
// `maxUnits`, which never splits a surrogate pair.
std::u16string Utf8ToUtf16(const std::string& utf8, std::size_t maxUnits, bool* cut);
