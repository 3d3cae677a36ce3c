#include "win32/dialogs/about_box.h"

#include "data/utf.h"
#include "dialogs/about_box_layout.h"
#include "dialogs/product_info.h"
#include "platform/shell.h"
#include "platform/text_codec.h"
#include "win32/dialogs/control_ids.h"
#include "win32/dialogs/dialog_text.h"
#include "win32/resource_ids.h"

namespace {

namespace ids = control_ids;
namespace layout = about_box_layout;

// The links' designed colours; a high contrast theme gives them its own link colour.
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

Rect At(Point point) {
    return InPanel(layout::kPanel1, {point.x, point.y, 0, 0});
}

}  // namespace

AboutBox::AboutBox(Shell& shell, const TextCodec& codec, HICON programIcon)
    : ModalDialog(WideFromUtf8(layout::kCaption), layout::kClient, DS_MODALFRAME),
      shell_(shell),
      codec_(codec),
      programIcon_(programIcon) {}

void AboutBox::onInit() {
    const HWND icon = addControl(L"STATIC", L"", SS_ICON | SS_REALSIZECONTROL, ids::kProgramIcon,
                                 InPanel(layout::kPanel1, layout::kProgramIcon));
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(programIcon_), 0);
    // In the dialog's own text colour: black in the usual theme, readable in every other.
    addControl(L"STATIC", WideFromUtf8(product_info::kProductName), SS_NOPREFIX, ids::kProductName,
               At(layout::kProductName));
    addControl(L"STATIC", WideFromUtf8(product_info::kVersion), SS_NOPREFIX, ids::kVersion,
               At(layout::kVersion));
    addControl(L"STATIC", WideFromUtf8(product_info::kRightsNotice), SS_NOPREFIX, ids::kCopyright,
               At(layout::kCopyright));
    setTextColour(addControl(L"STATIC", WideFromUtf8(product_info::kEmailAddress), SS_NOPREFIX | SS_NOTIFY,
                             ids::Label(1), At(layout::kLabel1), 0, FontLook::Underlined),
                  kBlue, COLOR_HOTLIGHT);
    setTextColour(addControl(L"STATIC", WideFromUtf8(product_info::kHomePage), SS_NOPREFIX | SS_NOTIFY,
                             ids::Label(2), At(layout::kLabel2), 0, FontLook::Underlined),
                  kRed, COLOR_HOTLIGHT);
    addControl(L"STATIC", WithLineBreaks(utf::toUtf16(product_info::kComment)), SS_LEFT | SS_NOPREFIX,
               ids::kComments, InPanel(layout::kPanel1, layout::kComments));
    const HWND ok =
        addControl(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, ids::kOKButton, layout::kOkButton);
    SendMessageW(handle(), DM_SETDEFID, ids::kOKButton, 0);
    focusOnOpen(ok);
    // Last, so that it lies under the controls it frames.
    addControl(L"STATIC", L"", SS_ETCHEDFRAME, ids::Panel(1), layout::kPanel1);
}

void AboutBox::onCommand(int id, int code, HWND /*control*/) {
    if (id == IDOK || id == IDCANCEL || (id == ids::kOKButton && code == BN_CLICKED)) {
        end(IDOK);
    } else if (id == ids::Label(1) && code == STN_CLICKED) {
        Label1Click();
    } else if (id == ids::Label(2) && code == STN_CLICKED) {
        Label2Click();
    }
}

std::optional<INT_PTR> AboutBox::onMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    const auto over = reinterpret_cast<HWND>(wParam);
    if (message == WM_SETCURSOR && (over == control(ids::Label(1)) || over == control(ids::Label(2)))) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(handle(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return std::nullopt;
}

void AboutBox::Label1Click() {
    openAndClose(u"mailto:" + WindowText(control(ids::Label(1))));
}

void AboutBox::Label2Click() {
    openAndClose(WindowText(control(ids::Label(2))));
}

void AboutBox::openAndClose(const std::u16string& address) {
    if (shell_.openUrl(codec_.encode(address).bytes)) {
        end(IDOK);
    }
}

void ShowAboutBox(HWND owner, Shell& shell, const TextCodec& codec) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ZENPORO_ICON));
    if (icon == nullptr) {
        icon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    AboutBox box(shell, codec, icon);
    box.run(owner);
}
