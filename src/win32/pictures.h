#pragma once

#include "toolbar/geometry.h"
#include "win32/gdi_handle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

// A picture as plain pixels, top row first, each 0x00RRGGBB.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;

    Size size() const { return {width, height}; }
    std::uint32_t at(int x, int y) const {
        return rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)];
    }
    std::uint32_t& at(int x, int y) {
        return rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)];
    }
};

// A bitmap resource of the program; empty when it is missing.
Pixels ResourcePixels(int resourceId);

// A Windows bitmap file (BMP, in any form Windows decodes); nothing when the file cannot be read or is not a
// bitmap.
std::optional<Pixels> BitmapFilePixels(const std::wstring& path);

// The part of the picture inside the rectangle.
Pixels Cropped(const Pixels& picture, const Rect& part);

// Each pixel as a factor x factor square.
Pixels ScaledUp(const Pixels& picture, int factor);

// A 32-bit bitmap of the picture with every pixel of the colour fully transparent, for DrawPicture and for
// menu items.
BitmapHandle TransparentBitmap(const Pixels& picture, std::uint32_t transparentColour);

// Draws a part of a TransparentBitmap one to one with its top-left corner at the point.
void DrawPicture(HDC dc, HBITMAP bitmap, const Rect& part, Point at);
