#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Conversion between Unicode and Shift-JIS (code page 932, with the NEC and IBM extensions that Windows
// uses), at the edges of the program: widgets, the clipboard, window titles. Unicode is UTF-16 in a
// std::u16string, the native form of both Win32 (wchar_t) and Qt (QString), so neither side re-encodes.
// Each platform supplies the two exact conversions; the rules for what cannot be converted live here, so
// both programs treat odd text alike.
class TextCodec {
  public:
    struct Encoded {
        std::string bytes;          // the Shift-JIS bytes of every character that could be stored
        std::u16string unstorable;  // each character that cannot be stored, once, in the order met
        bool complete() const { return unstorable.empty(); }
    };

    virtual ~TextCodec() = default;

    // Unicode to Shift-JIS. A character is stored only when its bytes decode back to exactly that character,
    // so nothing is silently replaced by a look-alike or "?"; the others are left out and reported.
    Encoded encode(std::u16string_view text) const;

    // Shift-JIS to Unicode. Never fails: each broken or unassigned sequence (a lone lead byte, a lead byte
    // with a byte that cannot follow it) becomes one U+FFFD, and the bytes after it are read on.
    std::u16string decode(std::string_view bytes) const;

  protected:
    // The platform's conversion of a non-empty text; nothing when any character has no mapping of its own
    // (no substitute, no best fit).
    virtual std::optional<std::string> encodeExactly(std::u16string_view text) const = 0;
    // The platform's conversion of non-empty bytes; nothing when any sequence is broken or unassigned.
    virtual std::optional<std::u16string> decodeExactly(std::string_view bytes) const = 0;
};

// The platform's own code page 932 conversion.
std::unique_ptr<TextCodec> makePlatformTextCodec();
