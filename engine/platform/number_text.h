#pragma once
// Texts that show a number. The number is formatted on its own and joined to
// the language text, so that a text from the data never serves as a format.
#include <cstdint>
#include <string>
#include <string_view>

// The number as "%i" prints it.
std::u16string NumberText(std::int32_t value);
// The number as "%0.0f" prints it: rounded to a whole number, halves to even.
std::u16string RoundedNumberText(float value);

// The text, the separator, then the number: "%s %i" is WithNumber(text, u" ",
// n), "$%i" WithNumber(u"", u"$", n), "%s x%i" WithNumber(text, u" x", n).
std::u16string WithNumber(std::u16string_view text, std::u16string_view separator,
                          std::int32_t value);
// The same with the number printed as by "%0.0f".
std::u16string WithRoundedNumber(std::u16string_view text, std::u16string_view separator,
                                 float value);
