#pragma once
// Result codes of the loading and drawing operations: 0 is success, a negative
// value a failure. The failure values are fixed so that the log lines that
// print them read the same from run to run.
#include <cstdint>

using HResult = std::int32_t;

inline constexpr HResult RESULT_OK = 0;
// A general refusal: a bad index, an already loaded texture, an unread file.
inline constexpr HResult RESULT_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult RESULT_OUT_OF_MEMORY = static_cast<HResult>(0x8007000Eu);
// The render device refused a draw (no texture, or a source rectangle outside it).
inline constexpr HResult RESULT_INVALID_CALL = static_cast<HResult>(0x8876086Cu);
// A picture or mesh file that is missing or cannot be decoded.
inline constexpr HResult RESULT_INVALID_DATA = static_cast<HResult>(0x88760B59u);

inline bool Failed(HResult result) {
    return result < 0;
}
inline bool Succeeded(HResult result) {
    return result >= 0;
}
