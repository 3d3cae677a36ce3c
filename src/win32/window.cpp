#include "win32/window.h"

#include "win32/handler_guard.h"

Window::~Window() {
    if (handle_ == nullptr) {
        return;
    }
    // The object is half gone: the window's last messages go to the default handling.
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
}

void Window::registerClass(const wchar_t* className, HBRUSH background, HICON icon) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className, &existing) != FALSE) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

bool Window::create(const wchar_t* className, DWORD extendedStyle, DWORD style, const RECT& frame, HWND owner,
                    const std::wstring& title) {
    return CreateWindowExW(extendedStyle, className, title.c_str(), style, frame.left, frame.top,
                           frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                           GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT CALLBACK Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->handle_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    // Messages before WM_NCCREATE (the first WM_GETMINMAXINFO) and after the object let go have no object.
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // A message whose handler failed gets the default handling.
    return CallCatchingAll([&] { return onMessage(message, wParam, lParam); },
                           [&] { return defaultHandling(message, wParam, lParam); });
}
