#pragma once

#include <string>
#include <string_view>

// UTF-8 and UTF-16, for the program's own literals, window titles and file names. Never fails: a broken
// UTF-8 sequence becomes one U+FFFD, and a lone surrogate is written as U+FFFD.
namespace utf {

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// The code point of the UTF-16 character at offset and its length in units: a surrogate pair is one
// character of two units, a lone surrogate half one character of its own.
struct CodePoint {
    char32_t value;
    std::size_t length;
};
CodePoint codePointAt(std::u16string_view utf16, std::size_t offset);
// Every code point of the text, as codePointAt reads them.
std::u32string toCodePoints(std::u16string_view utf16);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

}  // namespace utf
