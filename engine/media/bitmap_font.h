#pragma once
// Helpers of the bitmap-font readers. The readers themselves and the text
// drawing are operations of the resource manager.
#include <string>
#include <string_view>

// UTF-8 to UTF-16; a byte that starts no valid sequence becomes U+FFFD.
std::u16string DecodeUtf8(std::string_view bytes);
