#pragma once
// Attribute values and the numbers of the frame-list and font files are 8-bit
// texts; these turn them into values. The syntax is narrow and does not depend
// on the locale: decimal or "0x" hexadecimal integers, '.' or ',' as the decimal
// separator, no exponent, no spaces.
//
// Every parser leaves the destination untouched for an empty text (so a preset
// default survives a missing attribute) and sets it to 0 (false) for a text it
// refuses. Integers are accumulated without an overflow check and so wrap
// modulo 2^32.
#include <cstdint>
#include <string>
#include <vector>

// "0", "false", "FALSE", "1", "true", "TRUE", exactly.
bool ParseBool(const std::string& text, bool* destination);
// Optional leading '-', then decimal digits, or hexadecimal ones after an 'x' or
// 'X' in second position ("0x1F"; "-x1F" is -31).
bool ParseInt(const std::string& text, std::int32_t* destination);
// As ParseInt without the sign.
bool ParseUnsigned(const std::string& text, std::uint32_t* destination);
// Optional leading '-', digits, at most one '.' or ',', digits.
bool ParseFloat(const std::string& text, float* destination);
bool ParseDouble(const std::string& text, double* destination);

// The split functions cut the text at every character of `delimiters`, append
// one element per non-empty piece (a piece that does not parse becomes 0;
// pieces are not trimmed) and return how many they appended. The list is not
// cleared first.
int SplitToUnsigned(const std::string& text, const std::string& delimiters,
                    std::vector<std::uint32_t>* list);
int SplitToInts(const std::string& text, const std::string& delimiters,
                std::vector<std::int32_t>* list);
int SplitToFloats(const std::string& text, const std::string& delimiters, std::vector<float>* list);
int SplitToStrings(const std::string& text, const std::string& delimiters,
                   std::vector<std::string>* list);
// Fills at most the three floats of `three` and stops after the third piece.
int SplitToFloat3(const std::string& text, const std::string& delimiters, float (*three)[3]);

// One UTF-16 unit per byte, zero-extended (0x80 to 0xFF become U+0080 to U+00FF).
std::u16string WidenString(const std::string& text);
