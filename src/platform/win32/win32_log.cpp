#include "platform/win32/win32_log.h"

#include "platform/win32/win32_path.h"

#include <windows.h>

#include <string>

namespace {

std::string_view categoryName(LogCategory category) {
    switch (category) {
        case LogCategory::Delivery:
            return "zenporo.delivery";
        case LogCategory::Files:
            return "zenporo.files";
        case LogCategory::Settings:
            return "zenporo.settings";
    }
    return "zenporo";
}

std::wstring environmentVariable(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

// Appends only, so lines of two runs (or two instances) never overwrite each other.
HANDLE openForAppending(const std::wstring& path) {
    if (path.empty()) {
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

Win32Log::Win32Log() : file_(openForAppending(environmentVariable(L"ZENPORO_LOG"))) {}

void Win32Log::write(LogCategory category, std::string_view utf8Message) {
    // Off: the lines name windows and files of the user, so they go nowhere, not even to a debugger.
    if (file_.get() == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string line = std::string(categoryName(category)) + ": " + std::string(utf8Message) + "\r\n";
    OutputDebugStringW(WidePath(line).c_str());
    DWORD written = 0;
    WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
