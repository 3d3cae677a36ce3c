#pragma once

#include "platform/text_codec.h"

#include <string>
#include <string_view>

// Code page 932 through MultiByteToWideChar and WideCharToMultiByte.
class Win32TextCodec final : public TextCodec {
  protected:
    std::optional<std::string> encodeExactly(std::u16string_view text) const override;
    std::optional<std::u16string> decodeExactly(std::string_view bytes) const override;
};

// Win32 wide strings and the codec's UTF-16 hold the same 16-bit units.
std::wstring toWide(std::u16string_view text);
std::u16string fromWide(std::wstring_view text);

// Shift-JIS to a wide string for a Win32 call, and a wide string back to Shift-JIS (unstorable characters
// left out).
std::wstring sjisToWide(const TextCodec& codec, std::string_view sjis);
std::string wideToSjis(const TextCodec& codec, std::wstring_view text);
