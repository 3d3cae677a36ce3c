#include "platform/win32/win32_path.h"

#include "data/utf.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::wstring WidePath(std::string_view utf8) {
    const std::u16string wide = utf::toUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string Utf8Path(std::wstring_view wide) {
    return utf::toUtf8(std::u16string(wide.begin(), wide.end()));
}
