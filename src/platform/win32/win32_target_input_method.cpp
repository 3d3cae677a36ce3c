#include "platform/win32/win32_target_input_method.h"

#include <imm.h>

#include <cwchar>

namespace {

// WM_IME_CONTROL's requests for the open state (immdev.h, which MinGW-w64 does not ship).
constexpr WPARAM kGetOpenStatus = 0x0005;  // IMC_GETOPENSTATUS
constexpr WPARAM kSetOpenStatus = 0x0006;  // IMC_SETOPENSTATUS

// A program that has just been made the foreground window answers at once; one that takes longer is hung,
// and the typing then goes on as if it had no input method.
constexpr UINT kAnswerTimeoutMs = 500;

BOOL CALLBACK findImeWindow(HWND window, LPARAM found) {
    wchar_t name[8] = {};
    GetClassNameW(window, name, 8);
    if (std::wcscmp(name, L"IME") != 0) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

std::optional<TargetInputMethod> TargetInputMethod::of(HWND window) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0) {
        return std::nullopt;
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const HWND focus = GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr ? info.hwndFocus : window;
    HWND ime = ImmGetDefaultIMEWnd(focus);
    if (ime == nullptr) {
        // Wine answers nothing for another program's window; the thread's windows hold it all the same.
        EnumThreadWindows(thread, findImeWindow, reinterpret_cast<LPARAM>(&ime));
    }
    if (ime == nullptr) {
        return std::nullopt;
    }
    return TargetInputMethod(ime);
}

std::optional<bool> TargetInputMethod::isOpen() const {
    DWORD_PTR open = 0;
    if (!SendMessageTimeoutW(imeWindow_, WM_IME_CONTROL, kGetOpenStatus, 0,
                             SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, kAnswerTimeoutMs, &open)) {
        return std::nullopt;
    }
    return open != 0;
}

bool TargetInputMethod::setOpen(bool open) const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(imeWindow_, WM_IME_CONTROL, kSetOpenStatus, open ? TRUE : FALSE,
                        SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, kAnswerTimeoutMs, &ignored);
    return isOpen() == open;
}
