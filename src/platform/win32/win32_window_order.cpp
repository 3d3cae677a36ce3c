#include "platform/win32/win32_window_order.h"

#include "platform/log.h"
#include "platform/win32/win32_text_codec.h"

#include <dwmapi.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace {

std::wstring classOf(HWND window) {
    std::array<wchar_t, 256> name{};
    const int length = GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return std::wstring(name.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
}

// The desktop itself: the shell's window, the windows that hold its wallpaper and icons, and the desktop
// window (Wine names it the foreground window while no program's window is active).
bool isShellDesktop(HWND window) {
    if (window == GetShellWindow() || window == GetDesktopWindow()) {
        return true;
    }
    const std::wstring name = classOf(window);
    return name == L"Progman" || name == L"WorkerW";
}

// DwmGetWindowAttribute, from System32's dwmapi.dll. The library is not one of the system's known DLLs, so
// a static import would be looked up in the program's own folder first (a folder users can write to, often
// Downloads); it is loaded from System32 alone instead, once per window order.
class DwmAccess {
  public:
    DwmAccess() : module_(LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        if (module_) {
            getAttribute_ = reinterpret_cast<GetAttribute>(
                reinterpret_cast<void*>(GetProcAddress(module_.get(), "DwmGetWindowAttribute")));
        }
    }

    // Windows of other virtual desktops and of suspended store apps are "cloaked": in the order and
    // visible by their style, yet not on the screen.
    bool isCloaked(HWND window) const {
        DWORD cloaked = 0;
        return getAttribute_ != nullptr &&
               SUCCEEDED(getAttribute_(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
    }

  private:
    using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
    struct Unloader {
        void operator()(HMODULE module) const { FreeLibrary(module); }
    };
    std::unique_ptr<std::remove_pointer_t<HMODULE>, Unloader> module_;
    GetAttribute getAttribute_ = nullptr;
};

DWORD processOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

bool belongsToThisProcess(HWND window) {
    return processOf(window) == GetCurrentProcessId();
}

bool hasNoArea(HWND window) {
    RECT bounds{};
    return !GetWindowRect(window, &bounds) || IsRectEmpty(&bounds);
}

// A window the user could be typing into: visible with an area, not minimised, not a palette or tool
// window, not one that refuses activation (it could never take our keys), and not another always-on-top
// window unless it is the active one (the user may be filling in a topmost window).
bool isOrdinaryTarget(HWND window, const DwmAccess& dwm) {
    if (!IsWindowVisible(window) || IsIconic(window) || hasNoArea(window)) {
        return false;
    }
    const LONG_PTR extendedStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((extendedStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) != 0) {
        return false;
    }
    if ((extendedStyle & WS_EX_TOPMOST) != 0 && window != GetForegroundWindow()) {
        return false;
    }
    return !dwm.isCloaked(window) && !isShellDesktop(window);
}

bool isTargetOfAnotherProgram(HWND window, const DwmAccess& dwm) {
    return !belongsToThisProcess(window) && isOrdinaryTarget(window, dwm);
}

// The input state of the window's thread: its focus window and whether it is in a menu or a move or size
// loop; all zero when Windows does not tell.
GUITHREADINFO threadInputOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return GUITHREADINFO{};
    }
    return info;
}

// Why keys sent to the thread now would not reach its focused control: an open menu takes them, and so does
// a window being moved or sized with the keyboard or mouse. Empty when nothing is in the way.
std::string_view inputTakenBy(const GUITHREADINFO& input) {
    if ((input.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0) {
        return "a menu is open";
    }
    return (input.flags & GUI_INMOVESIZE) != 0 ? "a window is being moved or sized" : "";
}

class Win32WindowOrder final : public WindowOrder {
  public:
    Win32WindowOrder(const TextCodec& codec, Log* log) : codec_(codec), log_(log) {}

    // The foreground window is where the user was typing: the toolbar never takes the foreground, so that
    // is the window below, also when it is an always-on-top window the user raised above the toolbar.
    // Otherwise walk down from the toolbar; the first window met is usually the toolbar's own hidden input
    // method window, which is ours and skipped like every other window of this process.
    std::optional<WindowHandle> findWindowBelow(WindowHandle toolbar) override {
        const HWND foreground = GetForegroundWindow();
        if (foreground != nullptr && isTargetOfAnotherProgram(foreground, dwm_)) {
            return toWindowHandle(foreground);
        }
        for (HWND window = GetWindow(toHwnd(toolbar), GW_HWNDNEXT); window != nullptr;
             window = GetWindow(window, GW_HWNDNEXT)) {
            if (isTargetOfAnotherProgram(window, dwm_)) {
                return toWindowHandle(window);
            }
        }
        return std::nullopt;
    }

    std::string windowTitle(WindowHandle window) override {
        return wideToSjis(codec_, titleOf(toHwnd(window)));
    }

    // Remembers where the foreground was, so that a delivery that sends nothing can give it back; each
    // activation replaces what an earlier one remembered.
    bool activate(WindowHandle window) override {
        const HWND previous = GetForegroundWindow();
        activatedFrom_ = {window, previous != toHwnd(window) ? previous : nullptr};
        return SetForegroundWindow(toHwnd(window)) != FALSE;
    }

    // In the foreground, and its thread is not in a menu or a move or size loop that would take the keys.
    bool isActive(WindowHandle window) override {
        const HWND hwnd = toHwnd(window);
        if (GetForegroundWindow() != hwnd) {
            return false;
        }
        const GUITHREADINFO input = threadInputOf(hwnd);
        const std::string_view takenBy = inputTakenBy(input);
        if (takenBy.empty()) {
            lastTakenBy_ = {};
            return true;
        }
        noteInputTaken(hwnd, takenBy, input.hwndFocus);
        return false;
    }

    // A window the target's program opened over it (a dialog) keeps the target in front.
    bool isInFront(WindowHandle window) override {
        const HWND foreground = GetForegroundWindow();
        return foreground != nullptr && processOf(foreground) == processOf(toHwnd(window));
    }

    // These three serve the delivery's log and its undo of a useless activation.
    void undoActivation(WindowHandle window) override {
        const ActivatedFrom from = std::exchange(activatedFrom_, {});
        if (from.window == window && from.previous != nullptr && IsWindow(from.previous)) {
            SetForegroundWindow(from.previous);
        }
    }

    WindowHandle activeWindow() override { return toWindowHandle(GetForegroundWindow()); }

    std::string describe(WindowHandle window) override {
        return std::to_string(window) + " \"" + utf8(titleOf(toHwnd(window))) + "\"";
    }

    std::string windowClass(WindowHandle window) override { return utf8(classOf(toHwnd(window))); }

  private:
    struct ActivatedFrom {
        WindowHandle window = 0;
        HWND previous = nullptr;
    };

    // Logged once per change, not on every poll of the wait for the focus.
    void noteInputTaken(HWND window, std::string_view takenBy, HWND focus) {
        if (log_ == nullptr || takenBy == lastTakenBy_) {
            return;
        }
        lastTakenBy_ = takenBy;
        log_->write(LogCategory::Delivery, "keys held back: " + std::string(takenBy) + " in " +
                                               describe(toWindowHandle(window)) + "; its focus is a \"" +
                                               utf8(classOf(focus)) + "\" window");
    }

    static std::wstring titleOf(HWND window) {
        const int length = GetWindowTextLengthW(window);
        if (length <= 0) {
            return {};
        }
        std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
        const int copied = GetWindowTextW(window, title.data(), length + 1);
        title.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        return title;
    }

    static std::string utf8(const std::wstring& text) {
        if (text.empty()) {
            return {};
        }
        const int length = static_cast<int>(text.size());
        const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
        std::string bytes(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
        return bytes;
    }

    const TextCodec& codec_;
    Log* log_;
    DwmAccess dwm_;
    ActivatedFrom activatedFrom_;
    std::string_view lastTakenBy_;
};

}  // namespace

std::unique_ptr<WindowOrder> makeWin32WindowOrder(const TextCodec& codec, Log* log) {
    return std::make_unique<Win32WindowOrder>(codec, log);
}
