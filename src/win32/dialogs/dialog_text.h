#pragma once

#include "data/utf.h"
#include "platform/win32/win32_text_codec.h"

#include <string>

#include <windows.h>

// The program's own UTF-8 literals for a Win32 call.
inline std::wstring WideFromUtf8(const char* utf8) {
    return toWide(utf::toUtf16(utf8));
}

// A window's text as Unicode.
inline std::u16string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

// A label's text with each CR, LF, CR LF or LF CR as one CR LF, the only line break a static control shows.
inline std::wstring WithLineBreaks(std::u16string_view text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit != u'\r' && unit != u'\n') {
            shown += static_cast<wchar_t>(unit);
            continue;
        }
        shown += L"\r\n";
        const char16_t pair = unit == u'\r' ? u'\n' : u'\r';
        if (i + 1 < text.size() && text[i + 1] == pair) {
            ++i;
        }
    }
    return shown;
}
