#pragma once

#include <windows.h>

// A stand-in for the toolbar: an always-on-top window that never takes the focus, as the real one; and an
// ordinary window of the same process, which the walk must pass over as well.
class TestWindow {
  public:
    enum class Kind { Toolbar, Ordinary };
    explicit TestWindow(Kind kind);
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow();
    HWND get() const { return window_; }

  private:
    HWND window_ = nullptr;
};
