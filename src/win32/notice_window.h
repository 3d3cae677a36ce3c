#pragma once

#include "win32/window.h"

#include <string>

#include <windows.h>

// A short notice near the toolbar that goes away by itself. It is never activated and lets clicks through
// to nothing, so the window the user works in keeps its focus; a newer notice replaces the one shown.
class NoticeWindow final : public Window {
  public:
    explicit NoticeWindow(HWND owner);

    // Shows the text next to the anchor (the toolbar's frame, screen pixels) in the font, for a while.
    void showNear(const std::wstring& text, const RECT& anchor, HFONT font, UINT dpi);

  private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint();

    std::wstring text_;
    HFONT font_ = nullptr;
    int margin_ = 4;
};
