#include "engine/platform/number_text.h"

#include <charconv>

namespace {

// Digits, signs and points are ASCII, so each byte is one UTF-16 unit.
std::u16string Widen(const char* begin, const char* end) {
    return std::u16string(begin, end);
}

std::u16string Join(std::u16string_view text, std::u16string_view separator,
                    const std::u16string& number) {
    std::u16string joined(text);
    joined += separator;
    joined += number;
    return joined;
}

}  // namespace

std::u16string NumberText(std::int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return Widen(digits, result.ptr);
}

std::u16string RoundedNumberText(float value) {
    // Wide enough for the largest float written out in full.
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                                      std::chars_format::fixed, 0);
    return Widen(digits, result.ptr);
}

std::u16string WithNumber(std::u16string_view text, std::u16string_view separator,
                          std::int32_t value) {
    return Join(text, separator, NumberText(value));
}

std::u16string WithRoundedNumber(std::u16string_view text, std::u16string_view separator,
                                 float value) {
    return Join(text, separator, RoundedNumberText(value));
}
