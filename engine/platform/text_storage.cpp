#include "engine/platform/text_storage.h"

#include "engine/platform/html_log.h"
#include "engine/platform/xml_reader.h"

namespace {

const char* const DATA_FOLDER = "Resources/Data/";
const char* const LANGUAGE_FILE = "language.xml";
const char* const DEFAULT_LANGUAGE = "English";

constexpr char32_t REPLACEMENT = 0xFFFD;

// Appends one code point unless it would not fit; false when it did not.
bool AppendCodePoint(std::u16string& out, char32_t c, std::size_t maxUnits) {
    if (c < 0x10000) {
        if (out.size() + 1 > maxUnits) {
            return false;
        }
        out.push_back(static_cast<char16_t>(c));
        return true;
    }
    if (out.size() + 2 > maxUnits) {
        return false;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    return true;
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& utf8, std::size_t maxUnits, bool* cut) {
    std::u16string out;
    if (cut != nullptr) {
        *cut = false;
    }
    // A sequence broken off is replaced once, and the byte that broke it is
    // read again as the start of the next one.
    std::size_t i = 0;
    const std::size_t size = utf8.size();
    while (i < size) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = REPLACEMENT;
        std::size_t length = 1;
        int needed = 0;
        unsigned char lower = 0x80;
        unsigned char upper = 0xBF;
        if (lead < 0x80) {
            c = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            needed = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            needed = 2;
            c = lead & 0x0F;
            lower = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
            upper = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            needed = 3;
            c = lead & 0x07;
            lower = lead == 0xF0 ? 0x90 : 0x80;
            upper = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
        }
        for (int k = 0; k < needed; ++k) {
            const std::size_t at = i + 1 + static_cast<std::size_t>(k);
            const auto byte = at < size ? static_cast<unsigned char>(utf8[at]) : 0;
            if (at >= size || byte < lower || byte > upper) {
                c = REPLACEMENT;
                break;
            }
            c = (c << 6) | (byte & 0x3F);
            lower = 0x80;
            upper = 0xBF;
            ++length;
        }
        if (c == 0) {
            break;
        }
        if (!AppendCodePoint(out, c, maxUnits)) {
            if (cut != nullptr) {
                *cut = true;
            }
            break;
        }
        i += length;
    }
    return out;
}

bool CTextStorage::Initialize() {
    CHtmlLog& log = HtmlLog();
    log.Write("Blue", "Initializing language");
    const std::string languagePath = std::string(DATA_FOLDER) + LANGUAGE_FILE;
    CXmlReader languageReader;
    if (!languageReader.Open(languagePath)) {
        log.Write("Red", "Couldn't select language (%s)", languagePath.c_str());
        return false;
    }
    // The Language element must come before the element named after the
    // language; until then an English element supplies the file.
    m_language = DEFAULT_LANGUAGE;
    std::string textFile;
    XmlNode node;
    while (languageReader.Read(node)) {
        if (node.type != XML_START_ELEMENT) {
            continue;
        }
        if (node.name == "Language") {
            m_language = node.attributes["current"];
        }
        if (!m_language.empty() && node.name == m_language) {
            textFile = node.attributes["text_data"];
        }
    }
    log.Write("Green", "Current language: %s (%s)", m_language.c_str(), textFile.c_str());

    log.Write("Blue", "Initializing text data");
    const std::string textPath = DATA_FOLDER + textFile;
    CXmlReader textReader;
    if (!textReader.Open(textPath)) {
        log.Write("Red", "Couldn't open text storage (%s)", textPath.c_str());
        return false;
    }
    m_entries.clear();
    int count = 0;
    while (textReader.Read(node)) {
        if (node.type != XML_START_ELEMENT || node.name != "text") {
            continue;
        }
        TextEntry entry;
        entry.id = node.attributes["id"];
        bool cut = false;
        entry.text = Utf8ToUtf16(node.attributes["data"], MAX_TEXT_UNITS, &cut);
        if (entry.id.empty()) {
            continue;
        }
        if (cut) {
            log.Write("Red", "Text %s is too long: cut to %i characters", entry.id.c_str(),
                      static_cast<int>(entry.text.size()));
        }
        m_entries.push_back(std::move(entry));
        ++count;
    }
    log.Write("Green", "Initialization is completed (%i)", count);
    return true;
}

std::u16string CTextStorage::GetText(std::string id) const {
    const int index = FindIndex(id);
    return GetTextAt(index);
}

int CTextStorage::FindIndex(const std::string& id) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::u16string CTextStorage::GetTextAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size()) {
        return std::u16string();
    }
    return m_entries[static_cast<std::size_t>(index)].text;
}

void CTextStorage::Clear() {
    m_entries.clear();
    m_language.clear();
}
