#include "platform/win32/win32_text_codec.h"

#include <windows.h>

namespace {
constexpr UINT kShiftJisCodePage = 932;
}

std::optional<std::string> Win32TextCodec::encodeExactly(std::u16string_view text) const {
    const std::wstring wide = toWide(text);
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                         nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const int written = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                            bytes.data(), size, nullptr, &usedDefault);
    if (written != size || usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::u16string> Win32TextCodec::decodeExactly(std::string_view bytes) const {
    const int length = static_cast<int>(bytes.size());
    const int size =
        MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    if (MultiByteToWideChar(kShiftJisCodePage, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(),
                            size) != size) {
        return std::nullopt;
    }
    return fromWide(wide);
}

std::unique_ptr<TextCodec> makePlatformTextCodec() {
    return std::make_unique<Win32TextCodec>();
}

std::wstring toWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::u16string fromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

std::wstring sjisToWide(const TextCodec& codec, std::string_view sjis) {
    return toWide(codec.decode(sjis));
}

std::string wideToSjis(const TextCodec& codec, std::wstring_view text) {
    return codec.encode(fromWide(text)).bytes;
}
