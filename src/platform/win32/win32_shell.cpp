#include "platform/win32/win32_shell.h"

#include "platform/win32/win32_path.h"
#include "platform/win32/win32_text_codec.h"

#include <objbase.h>
#include <shellapi.h>

namespace {
// ShellExecute reports success by a value above 32; smaller values are error codes.
constexpr INT_PTR kShellExecuteSuccessAbove = 32;

// A function of a system library, loaded at its first use: the shell and COM bring a good many libraries
// that a start of the program does not need. The library stays loaded until the process ends.
template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}
}  // namespace

Win32Shell::~Win32Shell() {
    if (comInitialised_) {
        if (const auto uninitialise = systemFunction<void(WINAPI*)()>(L"ole32.dll", "CoUninitialize")) {
            uninitialise();
        }
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
    const auto initialise = systemFunction<HRESULT(WINAPI*)(void*, DWORD)>(L"ole32.dll", "CoInitializeEx");
    comInitialised_ = initialise != nullptr &&
                      SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

bool Win32Shell::open(const std::wstring& target) {
    initialiseCom();
    // The browser or mail program started for us may then take the foreground, as the user expects.
    AllowSetForegroundWindow(ASFW_ANY);
    // No verb: the handler's default one, which is not always "open".
    const auto execute = systemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (execute == nullptr) {
        return false;
    }
    const HINSTANCE result = execute(owner_, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > kShellExecuteSuccessAbove;
}
