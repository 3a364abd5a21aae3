#pragma once
// Stepping through UTF-8 text one character at a time, as captions are
// measured, wrapped and searched for their accelerator.

#include <cstddef>
#include <optional>
#include <string_view>

namespace ui {

// Bytes of the character that begins at text[pos]. Only a well-formed UTF-8
// sequence (no overlong form, no surrogate, nothing above U+10FFFF) is taken
// as one character; any other byte stands alone, so a broken sequence never
// swallows the valid characters after it.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

// The code point of the well-formed character at text[pos]; none for a
// byte that stands alone without being ASCII.
std::optional<char32_t> Utf8CodePointAt(std::string_view text, std::size_t pos);

}  // namespace ui
