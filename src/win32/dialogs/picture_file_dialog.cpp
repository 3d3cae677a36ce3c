#include "win32/dialogs/picture_file_dialog.h"

#include "win32/gdi_handle.h"
#include "win32/handler_guard.h"

#include <algorithm>
#include <array>
#include <memory>
#include <type_traits>
#include <vector>

#include <commdlg.h>

namespace {

constexpr int kPreviewId = 1850;
constexpr int kPreviewMargin = 8;
constexpr int kPreviewHeight = 64;  // at 96 DPI
constexpr DWORD kPathUnits = 32768;

// The area below the dialog's own controls that holds the preview, in dialog units.
struct alignas(DWORD) PreviewTemplate {
    DLGTEMPLATE header;
    std::array<WORD, 3> menuClassTitle;
};

struct GlobalFreer {
    void operator()(void* memory) const { GlobalFree(memory); }
};

struct LibraryFreer {
    void operator()(HMODULE library) const { FreeLibrary(library); }
};

struct PreviewState {
    HWND preview = nullptr;
    BitmapHandle bitmap;
};

PreviewState* StateOf(HWND hook) {
    return reinterpret_cast<PreviewState*>(GetWindowLongPtrW(hook, DWLP_USER));
}

void CreatePreview(HWND hook, PreviewState& state) {
    const UINT dpi = GetDpiForWindow(hook) != 0 ? GetDpiForWindow(hook) : 96;
    const int margin = MulDiv(kPreviewMargin, static_cast<int>(dpi), 96);
    const int side = MulDiv(kPreviewHeight, static_cast<int>(dpi), 96);
    state.preview = CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
                                    margin, margin / 2, side, side, hook,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPreviewId)),
                                    GetModuleHandleW(nullptr), nullptr);
}

void ShowSelection(HWND hook, PreviewState& state) {
    std::vector<wchar_t> path(kPathUnits, L'\0');
    const auto length =
        SendMessageW(GetParent(hook), CDM_GETFILEPATH, kPathUnits, reinterpret_cast<LPARAM>(path.data()));
    state.bitmap.reset();
    if (length > 0) {
        state.bitmap.reset(static_cast<HBITMAP>(
            LoadImageW(nullptr, path.data(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    }
    InvalidateRect(state.preview, nullptr, TRUE);
}

// A small picture grows by whole multiples, a large one shrinks to fit; both keep their shape.
void DrawPreview(const DRAWITEMSTRUCT& item, const PreviewState& state) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP shape{};
    if (!state.bitmap || GetObjectW(state.bitmap.get(), sizeof shape, &shape) == 0) {
        return;
    }
    const int roomWidth = item.rcItem.right - item.rcItem.left;
    const int roomHeight = item.rcItem.bottom - item.rcItem.top;
    const int width = shape.bmWidth;
    const int height = std::abs(shape.bmHeight);
    if (width <= 0 || height <= 0) {
        return;
    }
    int shownWidth = width;
    int shownHeight = height;
    if (width <= roomWidth && height <= roomHeight) {
        const int factor = std::max(1, std::min(roomWidth / width, roomHeight / height));
        shownWidth *= factor;
        shownHeight *= factor;
        SetStretchBltMode(item.hDC, COLORONCOLOR);
    } else if (width * roomHeight > height * roomWidth) {
        shownWidth = roomWidth;
        shownHeight = std::max(1, MulDiv(height, roomWidth, width));
        SetStretchBltMode(item.hDC, HALFTONE);
    } else {
        shownWidth = std::max(1, MulDiv(width, roomHeight, height));
        shownHeight = roomHeight;
        SetStretchBltMode(item.hDC, HALFTONE);
    }
    const HDC memory = CreateCompatibleDC(item.hDC);
    const HGDIOBJ previous = SelectObject(memory, state.bitmap.get());
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, shownWidth, shownHeight, memory, 0, 0, width,
               height, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

UINT_PTR handlePreviewMessage(HWND hook, UINT message, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state =
                reinterpret_cast<PreviewState*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
            SetWindowLongPtrW(hook, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
            CreatePreview(hook, *state);
            return FALSE;
        }
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == CDN_SELCHANGE && StateOf(hook) != nullptr) {
                ShowSelection(hook, *StateOf(hook));
            }
            return FALSE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == kPreviewId && StateOf(hook) != nullptr) {
                DrawPreview(*item, *StateOf(hook));
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

UINT_PTR CALLBACK PreviewHook(HWND hook, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    return CallCatchingAll([&] { return handlePreviewMessage(hook, message, lParam); },
                           [] { return UINT_PTR{FALSE}; });
}

}  // namespace

std::optional<std::wstring> ChoosePictureFile(HWND owner, const std::wstring& startFolder,
                                              const std::wstring& filterDescription) {
    std::wstring filter = filterDescription;
    filter.push_back(L'\0');
    filter += L"*.bmp";
    filter.push_back(L'\0');
    std::vector<wchar_t> path(kPathUnits, L'\0');
    // Fixed memory: its handle is its address, as the dialog expects of a template handle.
    const std::unique_ptr<void, GlobalFreer> memory(
        GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(PreviewTemplate)));
    if (memory == nullptr) {
        return std::nullopt;
    }
    auto* area = static_cast<PreviewTemplate*>(memory.get());
    area->header.style = WS_CHILD | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
    area->header.cy = 48;
    PreviewState state;
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = static_cast<HINSTANCE>(memory.get());
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathUnits;
    dialog.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE | OFN_ENABLESIZING |
                   OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    dialog.lpfnHook = PreviewHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&state);
    // The common dialogs are loaded when first asked for, not at start.
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer> library(
        LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    using Open = BOOL(WINAPI*)(OPENFILENAMEW*);
    const auto open = library ? reinterpret_cast<Open>(reinterpret_cast<void*>(
                                    GetProcAddress(library.get(), "GetOpenFileNameW")))
                              : nullptr;
    if (open == nullptr || open(&dialog) == FALSE) {
        return std::nullopt;
    }
    return std::wstring(path.data());
}
