#include "win32/dialogs/modal_dialog.h"

#include "dialogs/dialog_place.h"
#include "win32/dpi.h"
#include "win32/handler_guard.h"

#include <array>
#include <string>

namespace {

// The dialogs' character height at 96 DPI.
constexpr int kFontHeight = 12;

// An empty dialog template: the frame's styles and no controls; sizes come later, in pixels.
struct alignas(DWORD) EmptyTemplate {
    DLGTEMPLATE header;
    std::array<WORD, 3> menuClassTitle;  // no menu, the dialog class, an empty title
};

Size TextSize(HWND control, HFONT font, const std::wstring& text) {
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, font);
    RECT bounds{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A static text of one line that wraps or cuts what does not fit, not a picture, frame or owner-drawn one.
bool isOneLineLabel(HWND control, const std::wstring& text) {
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    const auto type = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & SS_TYPEMASK;
    return lstrcmpiW(kind, L"Static") == 0 &&
           (type == SS_LEFT || type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) && !text.empty() &&
           text.find(L'\n') == std::wstring::npos;
}

// Where a control lies in its parent's client area.
Rect placeInParent(HWND control) {
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

bool highContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// A function of user32 that Windows before 10 1703 and Wine lack, looked up at run time.
template <typename Function>
Function user32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

using SetDpiBehaviour = BOOL(WINAPI*)(HWND, int, int);

}  // namespace

void TurnOffSystemDialogScaling(HWND dialog) {
    // DDC_DISABLE_ALL: no font or size change of the dialog itself.
    constexpr int kDisableAll = 1 | 2 | 4;
    if (const auto setDialog = user32Function<SetDpiBehaviour>("SetDialogDpiChangeBehavior")) {
        setDialog(dialog, kDisableAll, kDisableAll);
    }
}

void TurnOffSystemControlScaling(HWND dialog) {
    // DCDC_DISABLE_FONTUPDATE | DCDC_DISABLE_RELAYOUT for each control.
    constexpr int kDisableControlChanges = 1 | 2;
    const auto setControl = user32Function<SetDpiBehaviour>("SetDialogControlDpiChangeBehavior");
    if (setControl == nullptr) {
        return;
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        setControl(child, kDisableControlChanges, kDisableControlChanges);
    }
}

ModalDialog::ModalDialog(std::wstring caption, Size client, DWORD frameStyle)
    : caption_(std::move(caption)), client_(client), frameStyle_(frameStyle) {}

INT_PTR ModalDialog::run(HWND owner) {
    EmptyTemplate empty{};
    empty.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | frameStyle_;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &empty.header, owner, procedure,
                                   reinterpret_cast<LPARAM>(this));
}

int ModalDialog::scaled(int pixels) const {
    return Scaled(pixels, dpi_);
}

HWND ModalDialog::addControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id,
                             const Rect& place, DWORD extendedStyle, FontLook font) {
    const HWND window = CreateWindowExW(
        extendedStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, handle_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    controls_.push_back({window, place, font, std::nullopt});
    placeControl(controls_.back());
    return window;
}

void ModalDialog::setTextColour(HWND control, COLORREF colour, int highContrastColour) {
    for (Control& each : controls_) {
        if (each.window == control) {
            each.colour = colour;
            each.highContrastColour = highContrastColour;
        }
    }
}

void ModalDialog::end(INT_PTR result) {
    EndDialog(handle_, result);
}

HFONT ModalDialog::fontFor(FontLook look) const {
    switch (look) {
        case FontLook::Bold:
            return boldFont_.get();
        case FontLook::Underlined:
            return underlinedFont_.get();
        case FontLook::Normal:
            break;
    }
    return font_.get();
}

void ModalDialog::makeFonts() {
    font_ = MakeLayoutFont(dpi_, kFontHeight);
    boldFont_ = MakeLayoutFont(dpi_, kFontHeight, FontLook::Bold);
    underlinedFont_ = MakeLayoutFont(dpi_, kFontHeight, FontLook::Underlined);
}

void ModalDialog::placeControl(const Control& control) const {
    const HFONT font = fontFor(control.font);
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Rect place = ScaledRect(control.place, dpi_);
    if (control.place.width == 0) {
        const Size text = TextSize(control.window, font, TextOf(control.window));
        place.width = text.width;
        place.height = text.height;
    }
    SetWindowPos(control.window, nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(control.window, nullptr, TRUE);
}

void ModalDialog::growLabels() const {
    for (const Control& label : controls_) {
        const std::wstring text = TextOf(label.window);
        if (label.place.width == 0 || !isOneLineLabel(label.window, text)) {
            continue;
        }
        std::vector<Rect> others;
        for (const Control& other : controls_) {
            if (other.window != label.window) {
                others.push_back(placeInParent(other.window));
            }
        }
        const Rect place = placeInParent(label.window);
        const int textWidth = TextSize(label.window, fontFor(label.font), text).width;
        const int width = GrownLabelWidth(place, textWidth, others, scaled(client_.width));
        if (width != place.width) {
            SetWindowPos(label.window, nullptr, 0, 0, width, place.height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

Size ModalDialog::frameSize() const {
    RECT frame{0, 0, scaled(client_.width), scaled(client_.height)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
    const auto extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, FALSE, extendedStyle, dpi_);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void ModalDialog::initialise() {
    dpi_ = DpiOfWindow(handle_);
    TurnOffSystemDialogScaling(handle_);
    SetWindowTextW(handle_, caption_.c_str());
    makeFonts();
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    onInit();
    TurnOffSystemControlScaling(handle_);
    growLabels();
    // Centred on the work area of the owner's monitor (the primary one without an owner).
    const HWND owner = GetWindow(handle_, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR nearest = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY)
                                              : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    GetMonitorInfoW(nearest, &monitor);
    const RECT& area = monitor.rcWork;
    const Size frame = frameSize();
    SetWindowPos(handle_, nullptr, area.left + (area.right - area.left - frame.width) / 2,
                 area.top + (area.bottom - area.top - frame.height) / 2, frame.width, frame.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModalDialog::takeDpi(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    makeFonts();
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    for (const Control& control : controls_) {
        placeControl(control);
    }
    growLabels();
    onDpiChanged();
    // A fixed dialog keeps its client size in layout pixels; a sizeable one takes the suggested frame.
    const bool sizeable = (frameStyle_ & WS_THICKFRAME) != 0;
    const Size frame =
        sizeable ? Size{suggested.right - suggested.left, suggested.bottom - suggested.top} : frameSize();
    SetWindowPos(handle_, nullptr, suggested.left, suggested.top, frame.width, frame.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(handle_, nullptr, TRUE);
}

INT_PTR ModalDialog::colourOf(HDC dc, HWND control) const {
    for (const Control& each : controls_) {
        if (each.window == control && each.colour) {
            SetTextColor(dc, highContrastOn() ? GetSysColor(each.highContrastColour) : *each.colour);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    return FALSE;
}

INT_PTR CALLBACK ModalDialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<ModalDialog*>(lParam);
        self->handle_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    return self->dispatch(message, wParam, lParam);
}

INT_PTR ModalDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallCatchingAll([&] { return handle(message, wParam, lParam); }, [] { return INT_PTR{FALSE}; });
}

INT_PTR ModalDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            initialise();
            if (openingFocus_ != nullptr) {
                SetFocus(openingFocus_);
                return FALSE;
            }
            return TRUE;  // the dialog manager puts the focus on the first control in tab order
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_NOTIFY:
            SetWindowLongPtrW(handle_, DWLP_MSGRESULT, onNotify(*reinterpret_cast<const NMHDR*>(lParam)));
            return TRUE;
        case WM_CLOSE:
            onClose();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return colourOf(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DPICHANGED:
            takeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        default:
            break;
    }
    return onMessage(message, wParam, lParam).value_or(FALSE);
}
