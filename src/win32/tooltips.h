#pragma once

#include "win32/common_controls.h"

#include <set>
#include <string>

#include <windows.h>

// One tooltip control for the areas of a window, with the common controls loaded for it (they are not needed
// before). It shows over a window that is never active
// (TTS_ALWAYSTIP) and watches the window's mouse messages itself.
class Tooltips {
  public:
    explicit Tooltips(HWND owner);
    ~Tooltips();
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;

    // Shows the text over the area of the owner's client area; an empty text shows no tip there.
    void set(UINT id, const RECT& area, const std::wstring& text);
    void setFont(HFONT font);
    // Hands the control a mouse move it missed because it did not exist yet.
    void relayMouseMove(HWND window, POINT at);

  private:
    CommonControls controls_;
    HWND owner_;
    HWND control_;
    std::set<UINT> tools_;
};
