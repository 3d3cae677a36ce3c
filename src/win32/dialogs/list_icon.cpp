#include "win32/dialogs/list_icon.h"

#include <shlobj.h>

ImageListOwner MakeListIcons(UINT dpi) {
    const int size = GetSystemMetricsForDpi(SM_CXSMICON, dpi);
    ImageListOwner icons(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0));
    SHSTOCKICONINFO stock{};
    stock.cbSize = sizeof stock;
    if (SUCCEEDED(SHGetStockIconInfo(SIID_DOCNOASSOC, SHGSI_ICONLOCATION, &stock))) {
        HICON icon = nullptr;
        if (SHDefExtractIconW(stock.szPath, stock.iIcon, 0, nullptr, &icon, MAKELONG(size, size)) == S_OK) {
            const IconOwner owned(icon);
            ImageList_AddIcon(icons.get(), owned.get());
        }
    }
    return icons;
}
