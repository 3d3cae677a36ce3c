#pragma once

#include <string>

#include <windows.h>

// The base of every window of the program: one C++ object per HWND, found through GWLP_USERDATA, and one
// message handler per window class. The object owns its window and destroys it with itself.
class Window {
  public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND handle() const { return handle_; }

  protected:
    Window() = default;
    virtual ~Window();

    // Registers the window class once per process; every window of the program goes through procedure().
    static void registerClass(const wchar_t* className, HBRUSH background, HICON icon = nullptr);
    // Creates the window with this object behind it; false when the window could not be made.
    bool create(const wchar_t* className, DWORD extendedStyle, DWORD style, const RECT& frame, HWND owner,
                const std::wstring& title = {});

    // Each window's one switch over the messages it handles; the rest go to defaultHandling().
    virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefWindowProcW(handle_, message, wParam, lParam);
    }

  private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
};
