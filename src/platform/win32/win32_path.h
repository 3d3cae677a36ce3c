#pragma once

#include <string>
#include <string_view>

// The program keeps paths in UTF-8; the wide Win32 calls take UTF-16. Neither direction fails: a broken
// sequence becomes U+FFFD, which names no file the program wrote.
std::wstring WidePath(std::string_view utf8);
std::string Utf8Path(std::wstring_view wide);
