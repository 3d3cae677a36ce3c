#include "win32/last_user_window.h"

#include "win32/handler_guard.h"

#include <array>
#include <cwchar>

namespace {

// The window the system's foreground events are handed to; they carry no pointer of ours.
LastUserWindow* following = nullptr;

// The shell's windows that take the foreground on the way to another window: the task bars, the task
// switchers of the Windows versions, thumbnails, the notification area's overflow, the start menu and search.
constexpr std::array<const wchar_t*, 11> kShellClasses{L"Shell_TrayWnd",
                                                       L"Shell_SecondaryTrayWnd",
                                                       L"MultitaskingViewFrame",
                                                       L"XamlExplorerHostIslandWindow",
                                                       L"ForegroundStaging",
                                                       L"TaskSwitcherWnd",
                                                       L"TaskListThumbnailWnd",
                                                       L"NotifyIconOverflowWindow",
                                                       L"TopLevelWindowForOverflowXamlIsland",
                                                       L"Windows.UI.Core.CoreWindow",
                                                       L"Shell_InputSwitchTopLevelWindow"};

bool isShellWindow(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    for (const wchar_t* shell : kShellClasses) {
        if (std::wcscmp(name, shell) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsOwnWindow(HWND window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(window, &process) != 0 && process == GetCurrentProcessId();
}

LastUserWindow::LastUserWindow()
    : hook_(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, foregroundChanged, 0,
                            0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS)) {
    following = this;
    follow(GetForegroundWindow());
}

LastUserWindow::~LastUserWindow() {
    following = nullptr;
}

bool LastUserWindow::giveForegroundBack() const {
    if (window_ == nullptr || IsWindow(window_) == FALSE || IsWindowVisible(window_) == FALSE ||
        IsIconic(window_) != FALSE) {
        return false;
    }
    return SetForegroundWindow(window_) != FALSE;
}

void CALLBACK LastUserWindow::foregroundChanged(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD,
                                                DWORD) {
    CallCatchingAll(
        [&] {
            if (following != nullptr && object == OBJID_WINDOW) {
                following->follow(window);
            }
        },
        [] {});
}

void LastUserWindow::follow(HWND window) {
    if (window != nullptr && !IsOwnWindow(window) && !isShellWindow(window)) {
        window_ = window;
    }
}
