#include "win32/dialogs/dialog_font.h"

#include <cwchar>

namespace {

constexpr int kFontHeight = 12;
constexpr const wchar_t* kFontFace = L"ＭＳ Ｐゴシック";

int CALLBACK noteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool fontExists(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, noteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

FontOwner MakeDialogFont(UINT dpi, bool bold, bool underlined) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    LOGFONTW font = metrics.lfMessageFont;
    if (fontExists(kFontFace)) {
        wcsncpy(font.lfFaceName, kFontFace, LF_FACESIZE - 1);
        font.lfCharSet = SHIFTJIS_CHARSET;
    }
    font.lfHeight = -MulDiv(kFontHeight, static_cast<int>(dpi), 96);
    font.lfWidth = 0;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = FALSE;
    font.lfUnderline = underlined ? TRUE : FALSE;
    return FontOwner(CreateFontIndirectW(&font));
}
