#include "win32/toolbar_window.h"

#include "platform/win32/win32_text_codec.h"
#include "toolbar/button_actions.h"
#include "toolbar/button_picture.h"
#include "toolbar/screen_placement.h"
#include "win32/dpi.h"
#include "win32/handler_guard.h"
#include "win32/notice_window.h"
#include "win32/resource_ids.h"
#include "win32/tooltips.h"

#include <windowsx.h>

#include <utility>

namespace {

constexpr const wchar_t* kClassName = L"ZenporoToolbar";
// A popup window with a caption: its client area can be as small as the layout's (Windows keeps overlapped
// windows wider than about 100 pixels). The tool-window caption is the thin one with only the close box; the
// minimise item of the caption menu stays. Never activated by a click, and always on top; the task-bar
// button is its own (WS_EX_APPWINDOW), so no hidden owner window shows up in Alt+Tab.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExtendedStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW;

constexpr Size kButton{23, 22};  // every button but the change bar, at 96 DPI
constexpr int kSwitchButton = 1;
constexpr int kMinimizeButton = 2;
constexpr int kOpenButton = 3;
constexpr int kHelpMenu = 8;

// Posted when Windows activated the toolbar from outside, to hand the keyboard back after the activation.
constexpr UINT kGiveKeyboardBack = WM_APP + 1;

POINT pointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

Rect toRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM lParam) {
    return CallCatchingAll(
        [&] {
            auto* found = reinterpret_cast<std::pair<std::vector<Rect>, std::vector<Rect>>*>(lParam);
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info) != FALSE) {
                found->first.push_back(toRect(info.rcMonitor));
                found->second.push_back(toRect(info.rcWork));
            }
            return TRUE;
        },
        [] { return FALSE; });
}

void call(const std::function<void()>& action) {
    if (action) {
        action();
    }
}

}  // namespace

ToolbarWindow::ToolbarWindow(const TextCodec& codec, ToolbarClicks clicks)
    : codec_(codec), clicks_(std::move(clicks)), menus_(pictures_, codec) {
    registerClass(kClassName, nullptr, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ZENPORO_ICON)));
    create(kClassName, kExtendedStyle, kStyle, RECT{}, nullptr, L"Zenporo！");
    dpi_ = DpiOfWindow(handle());
    hints_[kSwitchButton] = L"切替";
    hints_[kMinimizeButton] = L"最小化";
    hints_[kOpenButton] = L"開く";
    setPicture(kSwitchButton, pictures_.switchPicture());
    setPicture(kMinimizeButton, pictures_.minimizePicture());
    applyButtonFaces();
    arrangeButtons(true);
}

ToolbarWindow::~ToolbarWindow() = default;

void ToolbarWindow::show() {
    std::pair<std::vector<Rect>, std::vector<Rect>> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    RECT frame{};
    GetWindowRect(handle(), &frame);
    const Point placed = FrameOnSomeMonitor(toRect(frame), monitors.first, monitors.second);
    if (placed != Point{frame.left, frame.top}) {
        moveFrame(placed);
    }
    ShowWindow(handle(), SW_SHOWNOACTIVATE);
}

Point ToolbarWindow::framePosition() const {
    // A minimised window sits far off the screen; the place it comes back to is the one to keep. A tool
    // window's normal position is in screen coordinates.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(handle()) != FALSE && GetWindowPlacement(handle(), &placement) != FALSE) {
        return {placement.rcNormalPosition.left, placement.rcNormalPosition.top};
    }
    RECT frame{};
    GetWindowRect(handle(), &frame);
    return {frame.left, frame.top};
}

void ToolbarWindow::moveFrame(Point topLeft) {
    SetWindowPos(handle(), nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolbarWindow::setOpen(bool open) {
    open_ = open;
    redraw();
}

void ToolbarWindow::setOpenButtonHint(const std::string& sjisHint) {
    hints_[kOpenButton] = sjisToWide(codec_, sjisHint);
    refreshTooltips();
}

void ToolbarWindow::setCaptionAndTitle(const std::string& sjisCaption) {
    SetWindowTextW(handle(), sjisToWide(codec_, sjisCaption).c_str());
}

void ToolbarWindow::arrangeButtons(bool horizontal) {
    horizontal_ = horizontal;
    layout_ = ArrangeButtonsLayout(horizontal_, open_, kButton);
    setPicture(kOpenButton, pictures_.openStrip(horizontal_));
    resizeFrame();
}

void ToolbarWindow::loadFaces(const std::vector<std::string>& sjisPaths) {
    pictures_.loadFaces(sjisPaths, codec_);
}

void ToolbarWindow::applyButtonFaces() {
    for (int number = kFirstFieldButtonNumber; number <= kLastButtonNumber; ++number) {
        setPicture(number, pictures_.face(FieldButtonTag(number)));
    }
    redraw();
}

void ToolbarWindow::showNameFace(int face) {
    setPicture(6, pictures_.face(face));
    redraw();
}

void ToolbarWindow::setFullNameMenuPicture(int picture) {
    menus_.setFullNamePicture(picture);
}

void ToolbarWindow::showHints(const ToolbarHints& hints) {
    for (const auto& [number, hint] : hints.buttonHints) {
        if (number >= kFirstFieldButtonNumber && number <= kLastButtonNumber) {
            hints_[static_cast<std::size_t>(number)] = sjisToWide(codec_, hint);
        }
    }
    menus_.setMemoCaptions(hints.memoCaptions);
    refreshTooltips();
}

void ToolbarWindow::showDeliveryNotice(const std::string& sjisText) {
    if (!notice_) {
        notice_ = std::make_unique<NoticeWindow>(handle());  // most runs never need it
    }
    RECT frame{};
    GetWindowRect(handle(), &frame);
    notice_->showNear(sjisToWide(codec_, sjisText), frame, font(), dpi_);
}

void ToolbarWindow::openUserFileEditor() {
    call(clicks_.openUserFileEditor);
}

void ToolbarWindow::openUserFileList() {
    call(clicks_.openUserFileList);
}

LRESULT ToolbarWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // paint() covers every pixel
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                onActivated(reinterpret_cast<HWND>(lParam));
            }
            return defaultHandling(message, wParam, lParam);
        case kGiveKeyboardBack:
            giveKeyboardBack();
            return 0;
        case WM_MOUSEMOVE:
            onMouseMove(pointOf(lParam));
            return 0;
        case WM_MOUSELEAVE:
            onMouseLeave();
            return 0;
        case WM_LBUTTONDOWN:
            onLeftButtonDown(pointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            // Shift as the click itself records it: the form below, not the toolbar, has the keyboard, so
            // this thread's own key state need not follow a Shift held for the click.
            onLeftButtonUp(pointOf(lParam), TextEntryOf((wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0),
                           static_cast<std::uint32_t>(GetMessageTime()));
            return 0;
        case WM_RBUTTONDOWN:
            onRightButtonDown(pointOf(lParam));
            return 0;
        case WM_RBUTTONUP:
            return 0;  // menus open on the press; no context menu on the release
        case WM_MEASUREITEM:
            if (reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlType != ODT_MENU) {
                return defaultHandling(message, wParam, lParam);
            }
            menus_.measurePicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            if (reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlType != ODT_MENU) {
                return defaultHandling(message, wParam, lParam);
            }
            menus_.drawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CAPTURECHANGED:
            pressed_.reset();
            redraw();
            return 0;
        case WM_MOVING:
            onMoving(*reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        case WM_GETDPISCALEDSIZE: {
            const Size size = frameSizeFor(static_cast<UINT>(wParam));
            *reinterpret_cast<SIZE*>(lParam) = SIZE{size.width, size.height};
            return TRUE;
        }
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            call(clicks_.close);
            DestroyWindow(handle());
            return 0;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                call(clicks_.sessionEnding);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return defaultHandling(message, wParam, lParam);
    }
}

void ToolbarWindow::paint() {
    const PaintScope paint(handle());
    RECT client{};
    GetClientRect(handle(), &client);
    // Drawn off the screen first, so a hover or a press never flickers.
    const MemoryDc buffer(paint.dc());
    const BitmapHandle canvas(CreateCompatibleBitmap(paint.dc(), client.right, client.bottom));
    const SelectScope selected(buffer.get(), canvas.get());
    FillRect(buffer.get(), &client, GetSysColorBrush(COLOR_BTNFACE));
    for (int number = kChangeBarNumber; number <= kLastButtonNumber; ++number) {
        paintButton(buffer.get(), number);
    }
    BitBlt(paint.dc(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

void ToolbarWindow::paintButton(HDC dc, int number) const {
    RECT rect = buttonRect(number);
    const bool pressing = pressed_ == number && hovered_ == number;
    if (number == kChangeBarNumber) {
        DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressing ? DFCS_PUSHED : 0));
        return;
    }
    // A flat button: a border only under the mouse or while down.
    const bool toggled = number == kOpenButton && open_;
    const bool down = pressing || toggled;
    if (down || hovered_ == number) {
        DrawEdge(dc, &rect, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    const ButtonPicture& shown = buttons_[static_cast<std::size_t>(number)];
    if (!shown.bitmap) {
        return;
    }
    const ButtonPictureState state = pressing ? ButtonPictureState::Pressed
                                              : (toggled ? ButtonPictureState::Down : ButtonPictureState::Up);
    const Rect part = StatePictureRect(shown.size, state);
    const int shift = down ? 1 : 0;
    const Point at{rect.left + (rect.right - rect.left - part.width) / 2 + shift,
                   rect.top + (rect.bottom - rect.top - part.height) / 2 + shift};
    DrawPicture(dc, shown.bitmap.get(), part, at);
}

void ToolbarWindow::onMouseMove(POINT at) {
    // The hints are made when the pointer first comes by: most starts need no tooltip for a while, and the
    // common controls and the font are then not loaded before the toolbar shows.
    if (!tooltips_) {
        tooltips_ = std::make_unique<Tooltips>(handle());
        tooltips_->setFont(font());
        refreshTooltips();
        tooltips_->relayMouseMove(handle(), at);
    }
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    const std::optional<int> over = buttonAt(at);
    if (over != hovered_) {
        hovered_ = over;
        redraw();
    }
}

void ToolbarWindow::onMouseLeave() {
    trackingLeave_ = false;
    if (hovered_) {
        hovered_.reset();
        redraw();
    }
}

void ToolbarWindow::onLeftButtonDown(POINT at) {
    pressed_ = buttonAt(at);
    if (pressed_) {
        SetCapture(handle());
        redraw();
    }
}

void ToolbarWindow::onLeftButtonUp(POINT at, TextEntry entry, std::uint32_t eventTime) {
    const std::optional<int> pressed = std::exchange(pressed_, std::nullopt);
    ReleaseCapture();
    redraw();
    if (pressed && buttonAt(at) == pressed) {
        click(*pressed, entry, eventTime);
    }
}

void ToolbarWindow::onRightButtonDown(POINT at) {
    const std::optional<int> over = buttonAt(at);
    if (!over || *over < kFirstFieldButtonNumber) {
        return;
    }
    const std::optional<int> menu = PopupMenuForButtonTag(FieldButtonTag(*over));
    if (menu) {
        openMenu(*menu);
    }
}

void ToolbarWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    font_.reset();
    if (tooltips_) {
        tooltips_->setFont(font());
    }
    rebuildBitmaps();
    const Size size = frameSizeFor(dpi_);
    SetWindowPos(handle(), nullptr, suggested.left, suggested.top, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    refreshTooltips();
    redraw();
}

void ToolbarWindow::onMoving(const RECT& proposed) {
    // A window that is never activated is dragged as an outline that jumps on release; moving it along
    // keeps it under the pointer.
    SetWindowPos(handle(), nullptr, proposed.left, proposed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A restore from the task bar and Alt+Tab activate the toolbar although it never takes the focus; the
// previous window then is null, the shell's or another program's. The owner's activation when one of our
// dialogs closes stays as it is.
void ToolbarWindow::onActivated(HWND previous) {
    if (!IsOwnWindow(previous)) {
        PostMessageW(handle(), kGiveKeyboardBack, 0, 0);
    }
}

void ToolbarWindow::giveKeyboardBack() {
    if (!menuHoldsForeground_ && GetForegroundWindow() == handle()) {
        userWindow_.giveForegroundBack();
    }
}

void ToolbarWindow::click(int number, TextEntry entry, std::uint32_t eventTime) {
    switch (ButtonActionOf(number)) {
        case ButtonAction::FlipArrangement:
            call(clicks_.changeBar);
            return;
        case ButtonAction::OpenUserFileList:
            openUserFileList();
            return;
        case ButtonAction::Minimize:
            ShowWindow(handle(), SW_MINIMIZE);
            return;
        case ButtonAction::ToggleFieldRow:
            open_ = !open_;
            redraw();
            call(clicks_.openButton);
            return;
        case ButtonAction::OpenSettings:
            call(clicks_.settingsButton);
            return;
        case ButtonAction::OpenHelpMenu:
            openMenu(kHelpMenu);
            return;
        case ButtonAction::ComposeField:
        case ButtonAction::PressNextKey:
            if (clicks_.keyButton) {
                clicks_.keyButton(number, eventTime, entry);
            }
            return;
    }
}

void ToolbarWindow::openMenu(int number) {
    POINT at{};
    GetCursorPos(&at);
    // A popup menu closes on a click elsewhere only while its owner is the foreground window; the window the
    // user was in gets the foreground back as soon as the menu is gone, before anything is delivered to it,
    // unless a click on another window closed the menu: the toolbar then has no right to give it.
    const HWND userWindow = GetForegroundWindow();
    menuHoldsForeground_ = true;
    SetForegroundWindow(handle());
    const std::optional<MenuItemId> chosen = menus_.track(number, handle(), at, dpi_);
    // The menu had the keyboard: Shift as it was at the click or the Enter that chose the item.
    const TextEntry textEntry = TextEntryOf(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
    PostMessageW(handle(), WM_NULL, 0, 0);
    if (userWindow != nullptr && userWindow != handle() && GetForegroundWindow() == handle()) {
        SetForegroundWindow(userWindow);
    }
    menuHoldsForeground_ = false;
    followPointer();
    if (!chosen) {
        return;
    }
    const MenuEntry& entry = MenuEntryOf(*chosen);
    if (entry.kind == MenuEntryKind::WidthChoice) {
        const auto width = static_cast<TextWidth>(entry.tag);
        menus_.checkWidth(width);
        if (clicks_.textWidth) {
            clicks_.textWidth(width);
        }
        return;
    }
    if (entry.kind == MenuEntryKind::OwnAction) {
        if (clicks_.helpItem) {
            clicks_.helpItem(*chosen);
        }
        return;
    }
    if (clicks_.fieldMenuItem) {
        clicks_.fieldMenuItem(entry.tag, entry.id, textEntry);
    }
}

void ToolbarWindow::followPointer() {
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(handle(), &at);
    trackingLeave_ = false;
    hovered_ = buttonAt(at);
    if (hovered_) {
        onMouseMove(at);
    }
    redraw();
}

std::optional<int> ToolbarWindow::buttonAt(POINT at) const {
    RECT client{};
    GetClientRect(handle(), &client);
    if (PtInRect(&client, at) == FALSE) {
        return std::nullopt;
    }
    for (int number = kChangeBarNumber; number <= kLastButtonNumber; ++number) {
        const RECT rect = buttonRect(number);
        if (PtInRect(&rect, at) != FALSE) {
            return number;
        }
    }
    return std::nullopt;
}

RECT ToolbarWindow::buttonRect(int number) const {
    const Rect scaled = ScaledRect(ControlRect(layout_, kButton, number), dpi_);
    return {scaled.x, scaled.y, static_cast<LONG>(scaled.xEnd()), static_cast<LONG>(scaled.yEnd())};
}

Size ToolbarWindow::frameSizeFor(UINT dpi) const {
    const Rect client = ScaledRect({0, 0, layout_.clientSize.width, layout_.clientSize.height}, dpi);
    RECT frame{0, 0, client.width, client.height};
    AdjustWindowRectExForDpi(&frame, kStyle, FALSE, kExtendedStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void ToolbarWindow::resizeFrame() {
    const Size size = frameSizeFor(dpi_);
    SetWindowPos(handle(), nullptr, 0, 0, size.width, size.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    refreshTooltips();
    redraw();
}

void ToolbarWindow::setPicture(int number, const Pixels& picture) {
    ButtonPicture& button = buttons_[static_cast<std::size_t>(number)];
    button.picture = picture;
    const int factor = PictureScale(kButton.height, picture.height, dpi_);
    button.bitmap = TransparentBitmap(ScaledUp(picture, factor), LowerLeftColour(picture));
    button.size = {picture.width * factor, picture.height * factor};
}

void ToolbarWindow::rebuildBitmaps() {
    for (int number = kSwitchButton; number <= kLastButtonNumber; ++number) {
        const Pixels picture = buttons_[static_cast<std::size_t>(number)].picture;
        setPicture(number, picture);
    }
}

HFONT ToolbarWindow::font() {
    if (!font_) {
        font_ = MakeToolbarFont(dpi_);
    }
    return font_.get();
}

void ToolbarWindow::refreshTooltips() {
    if (!tooltips_) {
        return;
    }
    for (int number = kSwitchButton; number <= kLastButtonNumber; ++number) {
        tooltips_->set(static_cast<UINT>(number), buttonRect(number),
                       hints_[static_cast<std::size_t>(number)]);
    }
}

void ToolbarWindow::redraw() {
    InvalidateRect(handle(), nullptr, FALSE);
}
