#include "win32/pictures.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

constexpr std::uint32_t kColourMask = 0x00FFFFFF;

BITMAPINFO topDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Pixels pixelsOf(HBITMAP bitmap) {
    BITMAP described{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof described, &described) == 0 ||
        described.bmWidth <= 0 || described.bmHeight <= 0) {
        return {};
    }
    Pixels picture{described.bmWidth, described.bmHeight, {}};
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    BITMAPINFO info = topDown32(picture.width, picture.height);
    const MemoryDc dc;
    if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(picture.height), picture.rgb.data(), &info,
                  DIB_RGB_COLORS) == 0) {
        return {};
    }
    for (std::uint32_t& pixel : picture.rgb) {
        pixel &= kColourMask;
    }
    return picture;
}

bool startsLikeABitmap(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::array<char, 2> magic{};
    DWORD read = 0;
    const bool ok = ReadFile(file, magic.data(), static_cast<DWORD>(magic.size()), &read, nullptr) != FALSE &&
                    read == magic.size() && magic[0] == 'B' && magic[1] == 'M';
    CloseHandle(file);
    return ok;
}

}  // namespace

Pixels ResourcePixels(int resourceId) {
    const BitmapHandle bitmap(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return pixelsOf(bitmap.get());
}

std::optional<Pixels> BitmapFilePixels(const std::wstring& path) {
    // Only real bitmap files: LoadImage would not take an icon as IMAGE_BITMAP, but the check is cheap.
    if (path.empty() || !startsLikeABitmap(path)) {
        return std::nullopt;
    }
    const BitmapHandle bitmap(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    Pixels picture = pixelsOf(bitmap.get());
    if (picture.rgb.empty()) {
        return std::nullopt;
    }
    return picture;
}

Pixels Cropped(const Pixels& picture, const Rect& part) {
    Pixels result{part.width, part.height, {}};
    result.rgb.resize(static_cast<std::size_t>(part.width) * static_cast<std::size_t>(part.height));
    for (int y = 0; y < part.height; ++y) {
        for (int x = 0; x < part.width; ++x) {
            const int sourceX = part.x + x;
            const int sourceY = part.y + y;
            const bool inside =
                sourceX >= 0 && sourceX < picture.width && sourceY >= 0 && sourceY < picture.height;
            result.at(x, y) = inside ? picture.at(sourceX, sourceY) : 0;
        }
    }
    return result;
}

Pixels ScaledUp(const Pixels& picture, int factor) {
    if (factor <= 1) {
        return picture;
    }
    Pixels result{picture.width * factor, picture.height * factor, {}};
    result.rgb.resize(static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height));
    for (int y = 0; y < result.height; ++y) {
        for (int x = 0; x < result.width; ++x) {
            result.at(x, y) = picture.at(x / factor, y / factor);
        }
    }
    return result;
}

BitmapHandle TransparentBitmap(const Pixels& picture, std::uint32_t transparentColour) {
    if (picture.rgb.empty()) {
        return nullptr;
    }
    const BITMAPINFO info = topDown32(picture.width, picture.height);
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) {
        return nullptr;
    }
    // Premultiplied alpha: a transparent pixel is all zero, every other one opaque as it is.
    std::vector<std::uint32_t> argb(picture.rgb.size());
    for (std::size_t i = 0; i < argb.size(); ++i) {
        const std::uint32_t colour = picture.rgb[i] & kColourMask;
        argb[i] = colour == (transparentColour & kColourMask) ? 0 : (0xFF000000 | colour);
    }
    std::memcpy(bits, argb.data(), argb.size() * sizeof(std::uint32_t));
    GdiFlush();
    return bitmap;
}

void DrawPicture(HDC dc, HBITMAP bitmap, const Rect& part, Point at) {
    if (bitmap == nullptr) {
        return;
    }
    const MemoryDc source(dc);
    const SelectScope selected(source.get(), bitmap);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, at.x, at.y, part.width, part.height, source.get(), part.x, part.y, part.width,
                  part.height, blend);
}
