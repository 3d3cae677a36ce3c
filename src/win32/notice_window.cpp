#include "win32/notice_window.h"

#include "toolbar/delivery_notice.h"
#include "win32/dpi.h"
#include "win32/gdi_handle.h"

#include <algorithm>

namespace {

constexpr const wchar_t* kClassName = L"ZenporoNotice";
constexpr UINT_PTR kHideTimer = 1;
constexpr int kMaxWidth = 360;
constexpr int kMargin = 4;
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

RECT workAreaAround(const RECT& anchor) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&anchor, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

Rect toRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

NoticeWindow::NoticeWindow(HWND owner) {
    registerClass(kClassName, GetSysColorBrush(COLOR_INFOBK));
    create(kClassName, WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WS_POPUP | WS_BORDER, RECT{},
           owner);
}

void NoticeWindow::showNear(const std::wstring& text, const RECT& anchor, HFONT font, UINT dpi) {
    text_ = text;
    LOGFONTW look{};
    GetObjectW(font, sizeof look, &look);
    font_.reset(CreateFontIndirectW(&look));
    margin_ = Scaled(kMargin, dpi);
    // The title carries the text too, so the window says what it shows to whoever looks for it.
    SetWindowTextW(handle(), text.c_str());
    const RECT area = workAreaAround(anchor);
    const int border = 2 * GetSystemMetricsForDpi(SM_CXBORDER, dpi);
    // A short text keeps the notice narrow; a long one wraps at the widest a notice gets.
    RECT textArea{0, 0, std::min<int>(Scaled(kMaxWidth, dpi), area.right - area.left) - 2 * margin_ - border,
                  0};
    {
        const WindowDc dc(handle());
        const SelectScope selected(dc.get(), font_.get());
        DrawTextW(dc.get(), text_.c_str(), static_cast<int>(text_.size()), &textArea,
                  kTextFormat | DT_CALCRECT);
    }
    const Size size{textArea.right + 2 * margin_ + border, textArea.bottom + 2 * margin_ + border};
    const Rect placed = NoticeGeometry(toRect(anchor), size, toRect(area));
    SetWindowPos(handle(), HWND_TOPMOST, placed.x, placed.y, placed.width, placed.height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(handle(), nullptr, TRUE);
    SetTimer(handle(), kHideTimer, static_cast<UINT>(NoticeShowMilliseconds(text.size())), nullptr);
}

LRESULT NoticeWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_TIMER:
            KillTimer(handle(), kHideTimer);
            ShowWindow(handle(), SW_HIDE);
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

void NoticeWindow::paint() {
    const PaintScope paint(handle());
    RECT area{};
    GetClientRect(handle(), &area);
    InflateRect(&area, -margin_, -margin_);
    const SelectScope selected(paint.dc(), font_.get());
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), GetSysColor(COLOR_INFOTEXT));
    DrawTextW(paint.dc(), text_.c_str(), static_cast<int>(text_.size()), &area, kTextFormat);
}
