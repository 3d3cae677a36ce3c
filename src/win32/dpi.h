#pragma once

#include "toolbar/geometry.h"
#include "win32/gdi_handle.h"

#include <windows.h>

// The layout's sizes are pixels at 96 DPI; on a monitor of another DPI each is scaled by dpi/96.
inline constexpr UINT kLayoutDpi = 96;

inline int Scaled(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(kLayoutDpi));
}

// A rectangle of the layout on a monitor of this DPI: each edge scaled, so neighbours still share edges.
Rect ScaledRect(const Rect& rect, UINT dpi);

// The window's DPI (the monitor's, for a per-monitor aware program).
UINT DpiOfWindow(HWND window);

// How many times a pixel picture is drawn enlarged (nearest neighbour, so it stays crisp) in a room of the
// given 96-DPI height: the largest whole multiple that still leaves the room's 96-DPI margin around it.
int PictureScale(int roomHeight, int pictureHeight, UINT dpi);

// The toolbar's font: "ＭＳ Ｐゴシック" 11 pixels high, or the system's own Japanese interface face where
// that face is missing.
FontHandle MakeToolbarFont(UINT dpi);
