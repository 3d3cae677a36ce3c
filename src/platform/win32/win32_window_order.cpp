#include "platform/win32/win32_window_order.h"

#include "platform/win32/win32_text_codec.h"

#include <dwmapi.h>

#include <array>
#include <string>
#include <utility>

namespace {

// The desktop itself: the shell's window and the windows that hold its wallpaper and icons.
bool isShellDesktop(HWND window) {
    if (window == GetShellWindow()) {
        return true;
    }
    std::array<wchar_t, 16> className{};
    const int length = GetClassNameW(window, className.data(), static_cast<int>(className.size()));
    const std::wstring_view name(className.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
    return name == L"Progman" || name == L"WorkerW";
}

// Windows of other virtual desktops and of suspended store apps are "cloaked": in the order and
// visible by their style, yet not on the screen.
bool isCloaked(HWND window) {
    DWORD cloaked = 0;
    return SUCCEEDED(DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

bool belongsToThisProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

bool hasNoArea(HWND window) {
    RECT bounds{};
    return !GetWindowRect(window, &bounds) || IsRectEmpty(&bounds);
}

// A window the user could be typing into: visible with an area, not minimised, not a palette or tool
// window, not one that refuses activation (it could never take our keys), and not another always-on-top
// window unless it is the active one (the user may be filling in a topmost window).
bool isOrdinaryTarget(HWND window) {
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
    return !isCloaked(window) && !isShellDesktop(window);
}

class Win32WindowOrder final : public WindowOrder {
  public:
    explicit Win32WindowOrder(const TextCodec& codec) : codec_(codec) {}

    // Starts at the toolbar and steps down; the first window met is usually the toolbar's own hidden input
    // method window, which is ours and skipped like every other window of this process.
    std::optional<WindowHandle> findWindowBelow(WindowHandle toolbar) override {
        for (HWND window = GetWindow(toHwnd(toolbar), GW_HWNDNEXT); window != nullptr;
             window = GetWindow(window, GW_HWNDNEXT)) {
            if (!belongsToThisProcess(window) && isOrdinaryTarget(window)) {
                return toWindowHandle(window);
            }
        }
        return std::nullopt;
    }

    std::string windowTitle(WindowHandle window) override {
        return wideToSjis(codec_, titleOf(toHwnd(window)));
    }

    // Remembers where the foreground was, so that a delivery that sends nothing can give it back.
    bool activate(WindowHandle window) override {
        const HWND previous = GetForegroundWindow();
        if (previous != toHwnd(window)) {
            activatedFrom_ = {window, previous};
        }
        return SetForegroundWindow(toHwnd(window)) != FALSE;
    }

    bool isActive(WindowHandle window) override { return GetForegroundWindow() == toHwnd(window); }

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

  private:
    struct ActivatedFrom {
        WindowHandle window = 0;
        HWND previous = nullptr;
    };

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
    ActivatedFrom activatedFrom_;
};

}  // namespace

std::unique_ptr<WindowOrder> makeWin32WindowOrder(const TextCodec& codec) {
    return std::make_unique<Win32WindowOrder>(codec);
}
