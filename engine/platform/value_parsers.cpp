#include "engine/platform/value_parsers.h"

namespace {

// The digits of ParseInt and ParseUnsigned. Accumulates in unsigned 32-bit
// arithmetic, so an overlong number wraps modulo 2^32 without overflow.
bool ParseDigits(const std::string& text, std::size_t start, std::uint32_t* value) {
    std::uint32_t result = 0;
    std::uint32_t base = 10;
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        std::uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if ((c == 'x' || c == 'X') && i == 1 && result == 0) {
            base = 16;
            continue;
        } else {
            return false;
        }
        result = result * base + digit;
    }
    *value = result;
    return true;
}

template <class Real>
bool ParseReal(const std::string& text, Real* destination) {
    if (text.empty()) {
        return false;
    }
    *destination = 0;
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (negative) {
        i = 1;
    }
    Real value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            value = value * 10 + static_cast<Real>(c - '0');
        } else if (c == '.' || c == ',') {
            ++i;
            break;
        } else {
            return false;
        }
    }
    // The weight starts at the Real value of 0.1 and is then kept in double.
    double weight = static_cast<Real>(0.1);
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return false;
        }
        value = static_cast<Real>(value + static_cast<double>(c - '0') * weight);
        weight *= 0.1;
    }
    *destination = negative ? -value : value;
    return true;
}

// The common walk of the split functions: every non-empty piece between
// delimiter characters, in text order.
template <class Append>
int Split(const std::string& text, const std::string& delimiters, Append append) {
    int count = 0;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t found = text.find_first_of(delimiters, position);
        const std::size_t end = found == std::string::npos ? text.size() : found;
        if (end > position) {
            if (!append(text.substr(position, end - position))) {
                break;
            }
            ++count;
        }
        if (found == std::string::npos) {
            break;
        }
        position = found + 1;
    }
    return count;
}

}  // namespace

bool ParseBool(const std::string& text, bool* destination) {
    if (text.empty()) {
        return false;
    }
    *destination = false;
    if (text == "0" || text == "false" || text == "FALSE") {
        return true;
    }
    if (text == "1" || text == "true" || text == "TRUE") {
        *destination = true;
        return true;
    }
    return false;
}

bool ParseInt(const std::string& text, std::int32_t* destination) {
    if (text.empty()) {
        return false;
    }
    *destination = 0;
    const bool negative = text[0] == '-';
    std::uint32_t magnitude = 0;
    if (!ParseDigits(text, negative ? 1 : 0, &magnitude)) {
        return false;
    }
    // Negated in unsigned arithmetic; the conversion to int32 is modulo 2^32.
    *destination = static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
    return true;
}

bool ParseUnsigned(const std::string& text, std::uint32_t* destination) {
    if (text.empty()) {
        return false;
    }
    *destination = 0;
    std::uint32_t value = 0;
    if (!ParseDigits(text, 0, &value)) {
        return false;
    }
    *destination = value;
    return true;
}

bool ParseFloat(const std::string& text, float* destination) {
    return ParseReal(text, destination);
}

bool ParseDouble(const std::string& text, double* destination) {
    return ParseReal(text, destination);
}

int SplitToUnsigned(const std::string& text, const std::string& delimiters,
                    std::vector<std::uint32_t>* list) {
    return Split(text, delimiters, [list](const std::string& piece) {
        std::uint32_t value = 0;
        ParseUnsigned(piece, &value);
        list->push_back(value);
        return true;
    });
}

int SplitToInts(const std::string& text, const std::string& delimiters,
                std::vector<std::int32_t>* list) {
    return Split(text, delimiters, [list](const std::string& piece) {
        std::int32_t value = 0;
        ParseInt(piece, &value);
        list->push_back(value);
        return true;
    });
}

int SplitToFloats(const std::string& text, const std::string& delimiters,
                  std::vector<float>* list) {
    return Split(text, delimiters, [list](const std::string& piece) {
        float value = 0.0f;
        ParseFloat(piece, &value);
        list->push_back(value);
        return true;
    });
}

int SplitToStrings(const std::string& text, const std::string& delimiters,
                   std::vector<std::string>* list) {
    return Split(text, delimiters, [list](const std::string& piece) {
        list->push_back(piece);
        return true;
    });
}

int SplitToFloat3(const std::string& text, const std::string& delimiters, float (*three)[3]) {
    int filled = 0;
    Split(text, delimiters, [three, &filled](const std::string& piece) {
        float value = 0.0f;
        ParseFloat(piece, &value);
        (*three)[filled++] = value;
        return filled < 3;
    });
    return filled;
}

std::u16string WidenString(const std::string& text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text) {
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    }
    return wide;
}
