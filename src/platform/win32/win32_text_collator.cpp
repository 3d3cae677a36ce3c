#include "platform/win32/win32_text_collator.h"

#include <windows.h>

#include <utility>

namespace {

const wchar_t* wide(std::u16string_view text) {
    // wchar_t is UTF-16 on Windows.
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return reinterpret_cast<const wchar_t*>(text.data());
}

}  // namespace

Win32TextCollator::Win32TextCollator(std::wstring localeName) : localeName_(std::move(localeName)) {}

int Win32TextCollator::compare(std::u16string_view a, std::u16string_view b) const {
    const wchar_t* locale = localeName_.empty() ? LOCALE_NAME_USER_DEFAULT : localeName_.c_str();
    // No flags: letter case, kana type and width all count.
    const int result = CompareStringEx(locale, 0, wide(a), static_cast<int>(a.size()), wide(b),
                                       static_cast<int>(b.size()), nullptr, nullptr, 0);
    if (result == 0) {
        // An unknown locale or a text too long for the call: code-unit order still gives a fixed order.
        return a.compare(b);
    }
    return result - CSTR_EQUAL;
}
