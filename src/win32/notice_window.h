#pragma once

#include "win32/gdi_handle.h"
#include "win32/window.h"

#include <string>

#include <windows.h>

// A short notice near the toolbar that goes away by itself. It is never activated and lets clicks through
// to nothing, so the window the user works in keeps its focus; a newer notice replaces the one shown.
class NoticeWindow final : public Window {
  public:
    explicit NoticeWindow(HWND owner);

    // Shows the text next to the anchor (the toolbar's frame, screen pixels) in a copy of the font, for a
    // while; the caller's font may be deleted meanwhile (a move to a monitor of another DPI remakes it).
    void showNear(const std::wstring& text, const RECT& anchor, HFONT font, UINT dpi);

  private:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void paint();

    std::wstring text_;
    FontHandle font_;
    int margin_ = 4;
};
