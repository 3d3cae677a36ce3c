#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_text_codec.h"

#include <shellapi.h>

namespace {
// ShellExecute reports success by a value above 32; smaller values are error codes.
constexpr INT_PTR kShellExecuteSuccessAbove = 32;
}  // namespace

bool Win32Shell::openUrl(const std::string& sjisUrl) {
    return open(sjisUrl);
}

bool Win32Shell::openFile(const std::string& sjisPath) {
    return open(sjisPath);
}

bool Win32Shell::open(const std::string& sjisTarget) {
    if (sjisTarget.empty()) {
        return false;
    }
    const std::wstring target = sjisToWide(codec_, sjisTarget);
    const HINSTANCE result = ShellExecuteW(owner_, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > kShellExecuteSuccessAbove;
}
