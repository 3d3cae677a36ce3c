#include "toolbar_window.h"

namespace {
const wchar_t* registeredClass() {
    static const wchar_t* const name = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"ZenporoTestWindow";
        RegisterClassW(&windowClass);
        return windowClass.lpszClassName;
    }();
    return name;
}
}  // namespace

TestWindow::TestWindow(Kind kind) {
    const bool toolbar = kind == Kind::Toolbar;
    const DWORD extendedStyle = toolbar ? WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW : 0;
    const DWORD style = toolbar ? WS_POPUP | WS_BORDER : WS_OVERLAPPEDWINDOW;
    window_ = CreateWindowExW(extendedStyle, registeredClass(), toolbar ? L"toolbar" : L"own window", style,
                              toolbar ? 600 : 50, toolbar ? 20 : 300, 300, 40, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
}

TestWindow::~TestWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}
