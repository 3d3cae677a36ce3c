#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_path.h"
#include "platform/win32/win32_text_codec.h"

#include <objbase.h>
#include <shellapi.h>

namespace {
// ShellExecute reports success by a value above 32; smaller values are error codes.
constexpr INT_PTR kShellExecuteSuccessAbove = 32;
}  // namespace

Win32Shell::~Win32Shell() {
    if (comInitialised_) {
        CoUninitialize();
    }
}

bool Win32Shell::openUrl(const std::string& sjisUrl) {
    return !sjisUrl.empty() && open(sjisToWide(codec_, sjisUrl));
}

bool Win32Shell::openFile(const std::string& path) {
    return !path.empty() && open(WidePath(path));
}

// Where COM runs already (in either model) this only counts up, and the destructor counts down again.
void Win32Shell::initialiseCom() {
    if (comTried_) {
        return;
    }
    comTried_ = true;
    comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

bool Win32Shell::open(const std::wstring& target) {
    initialiseCom();
    // The browser or mail program started for us may then take the foreground, as the user expects.
    AllowSetForegroundWindow(ASFW_ANY);
    // No verb: the handler's default one, which is not always "open".
    const HINSTANCE result = ShellExecuteW(owner_, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > kShellExecuteSuccessAbove;
}
