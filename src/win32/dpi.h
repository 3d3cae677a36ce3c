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

// The layout's face "ＭＳ Ｐゴシック", its character height given in 96-DPI pixels, or the system's own
// Japanese interface face where that face is missing.
enum class FontLook { Normal, Bold, Underlined };
FontHandle MakeLayoutFont(UINT dpi, int pixelHeight, FontLook look = FontLook::Normal);

// The toolbar's font: the layout's face 11 pixels high.
inline FontHandle MakeToolbarFont(UINT dpi) {
    return MakeLayoutFont(dpi, 11);
}
