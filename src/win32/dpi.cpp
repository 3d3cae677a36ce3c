#include "win32/dpi.h"

#include "win32/handler_guard.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr const wchar_t* kFontFace = L"ＭＳ Ｐゴシック";

int CALLBACK noteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    return CallCatchingAll(
        [&] {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        [] { return 0; });
}

bool fontExists(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    const WindowDc screen;
    EnumFontFamiliesExW(screen.get(), &wanted, noteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

}  // namespace

Rect ScaledRect(const Rect& rect, UINT dpi) {
    const int left = Scaled(rect.x, dpi);
    const int top = Scaled(rect.y, dpi);
    // A layout's rectangle ends well inside the int range.
    return {left, top, Scaled(static_cast<int>(rect.xEnd()), dpi) - left,
            Scaled(static_cast<int>(rect.yEnd()), dpi) - top};
}

UINT DpiOfWindow(HWND window) {
    const UINT dpi = window != nullptr ? GetDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : kLayoutDpi;
}

int PictureScale(int roomHeight, int pictureHeight, UINT dpi) {
    if (pictureHeight <= 0) {
        return 1;
    }
    const int margin = std::max(0, roomHeight - pictureHeight);
    return std::max(1, (Scaled(roomHeight, dpi) - margin) / pictureHeight);
}

FontHandle MakeLayoutFont(UINT dpi, int pixelHeight, FontLook look) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    LOGFONTW font = metrics.lfMessageFont;
    if (fontExists(kFontFace)) {
        wcsncpy(font.lfFaceName, kFontFace, LF_FACESIZE - 1);
        font.lfCharSet = SHIFTJIS_CHARSET;
    }
    font.lfHeight = -Scaled(pixelHeight, dpi);
    font.lfWidth = 0;
    font.lfWeight = look == FontLook::Bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FALSE;
    font.lfUnderline = look == FontLook::Underlined ? TRUE : FALSE;
    return FontHandle(CreateFontIndirectW(&font));
}
