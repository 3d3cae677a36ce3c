#pragma once

#include <string>
#include <string_view>

// Shift-JIS (code page 932) text: the bytes that user files, the settings file and every field hold.
namespace sjis {

// A lead byte starts a double-byte character: 0x81-0x9F and 0xE0-0xFC.
bool isLeadByte(unsigned char byte);

// The byte length of the character that starts at offset; a lead byte at the very end counts one.
std::size_t charLengthAt(std::string_view text, std::size_t offset);

// Number of characters, a double-byte character counting one.
std::size_t charCount(std::string_view text);

// The first count characters, never cutting a double-byte character in half.
std::string leftChars(std::string_view text, std::size_t count);

// Unicode to Shift-JIS. Characters below 0x80 are their own byte; the seven characters of StoredFormOf are
// stored at their JIS position. Characters that Shift-JIS cannot hold, or would not give back unchanged, are
// collected into unmappable as code points (each once, in order; a lone surrogate half is one of its own)
// and left out of the result, so callers can refuse them instead of storing a substitute.
// The conversion itself is the platform's code page 932 (TextCodec).
std::string fromUnicode(std::u16string_view text, std::u32string* unmappable = nullptr);

// Shift-JIS to Unicode. Never fails: a broken sequence, such as a lone lead byte, becomes U+FFFD.
std::u16string toUnicode(std::string_view bytes);

// A UTF-8 literal of the program's own texts, converted once to Shift-JIS.
std::string fromUtf8(std::string_view utf8);

// Shift-JIS to UTF-8, for logs and file names.
std::string toUtf8(std::string_view bytes);

}  // namespace sjis
