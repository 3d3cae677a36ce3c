#pragma once

#include <optional>

#include <windows.h>

// The input method of another program's window, reached through the default IME window of the window's
// thread with WM_IME_CONTROL: the one way Windows lets a program read or switch it from outside. It acts on
// the input context of the thread's focused window. Each request waits a short while for the answer.
class TargetInputMethod {
  public:
    // The input method of the window's thread; nothing when the thread has none.
    static std::optional<TargetInputMethod> of(HWND window);

    // Whether it is on; nothing when the thread did not answer.
    std::optional<bool> isOpen() const;
    // Turns it on or off; true when it then reads back so.
    bool setOpen(bool open) const;

    HWND imeWindow() const { return imeWindow_; }

  private:
    explicit TargetInputMethod(HWND imeWindow) : imeWindow_(imeWindow) {}

    HWND imeWindow_;
};
