#include "win32/dialogs/settings_dialog.h"

#include "data/utf.h"
#include "dialogs/box_text.h"
#include "dialogs/settings_dialog_layout.h"
#include "dialogs/settings_rules.h"
#include "platform/text_codec.h"
#include "win32/dialogs/control_ids.h"
#include "win32/dialogs/dialog_text.h"
#include "win32/dpi.h"
#include "win32/toolbar_pictures.h"

namespace {

namespace ids = control_ids;
namespace layout = settings_dialog_layout;
using settings_rules::FaceRow;

constexpr COLORREF kRed = RGB(255, 0, 0);

// The busy cursor for as long as it lives, so it is restored on every path.
class BusyCursor {
  public:
    BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~BusyCursor() { SetCursor(previous_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    HCURSOR previous_;
};

// How many times the 16x16 pictures are drawn enlarged at this DPI: whole multiples only, so they stay crisp.
int FaceScale(UINT dpi) {
    return PictureScale(kPictureSize, kPictureSize, dpi);
}

// The small picture of the browse buttons: an open yellow folder, 14x14 at 96 DPI.
BitmapHandle DrawBrowsePicture(HWND window, int scale) {
    const int side = 14 * scale;
    const HDC screen = GetDC(window);
    BitmapHandle picture(CreateCompatibleBitmap(screen, side, side));
    const HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(window, screen);
    const HGDIOBJ previousBitmap = SelectObject(dc, picture.get());
    const RECT all{0, 0, side, side};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    const HPEN pen = CreatePen(PS_SOLID, scale, RGB(128, 96, 0));
    const HBRUSH back = CreateSolidBrush(RGB(255, 220, 96));
    const HBRUSH front = CreateSolidBrush(RGB(255, 240, 160));
    const HGDIOBJ previousPen = SelectObject(dc, pen);
    const HGDIOBJ previousBrush = SelectObject(dc, back);
    Rectangle(dc, 1 * scale, 4 * scale, 13 * scale, 13 * scale);
    Rectangle(dc, 1 * scale, 2 * scale, 7 * scale, 5 * scale);
    SelectObject(dc, front);
    const POINT flap[] = {
        {3 * scale, 7 * scale}, {13 * scale, 7 * scale}, {11 * scale, 12 * scale}, {1 * scale, 12 * scale}};
    Polygon(dc, flap, 4);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBitmap);
    DeleteObject(front);
    DeleteObject(back);
    DeleteObject(pen);
    DeleteDC(dc);
    return picture;
}

int FaceOfPreview(int id) {
    return id - ids::kImage;
}

}  // namespace

SettingsDialog::SettingsDialog(const SettingsDialogContext& context)
    : ModalDialog(WideFromUtf8(layout::kCaption), layout::kClient, DS_MODALFRAME), context_(context) {}

void SettingsDialog::onInit() {
    asking_.emplace(context_.dialogs, handle());
    addPasteControls();
    addPathBoxes();
    addRowsAndPanels();
    makeBrowsePicture();
    FormCreate();
}

// In keyboard order: OK, Cancel, the Next-key pair, CheckBox2, CheckBox1 and the AfterKey pair.
void SettingsDialog::addPasteControls() {
    const auto add = [this](const DialogControlPlace& place, DWORD style, int id, const Rect& panel) {
        addControl(L"BUTTON", WideFromUtf8(place.text), style, id, InPanel(panel, place.place));
    };
    const Rect window{0, 0, 0, 0};
    add(layout::kBitBtn1, WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, ids::BitBtn(1), window);
    add(layout::kBitBtn2, WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, ids::BitBtn(2), window);
    add(layout::kRadioButton3, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, ids::RadioButton(3),
        layout::kPanel1);
    add(layout::kRadioButton4, BS_AUTORADIOBUTTON, ids::RadioButton(4), layout::kPanel1);
    add(layout::kCheckBox2, WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, ids::CheckBox(2), layout::kPanel2);
    add(layout::kCheckBox1, WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, ids::CheckBox(1), layout::kPanel2);
    add(layout::kRadioButton1, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, ids::RadioButton(1),
        layout::kPanel2);
    add(layout::kRadioButton2, BS_AUTORADIOBUTTON, ids::RadioButton(2), layout::kPanel2);
}

void SettingsDialog::addPathBoxes() {
    const auto& order = settings_rules::PathBoxTabOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i == settings_rules::kPathBoxesBeforeDefaultButton) {
            addControl(L"BUTTON", WideFromUtf8(layout::kDefaultBtn.text),
                       WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, ids::kDefaultBtn,
                       InPanel(layout::kPanel3, layout::kDefaultBtn.place));
        }
        const int face = order[i];
        for (const FaceRow& row : settings_rules::FaceRows()) {
            if (row.face == face) {
                addControl(L"EDIT", L"", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, ids::Edit(face),
                           InPanel(layout::kPanel3, layout::PathBoxPlace(row)), WS_EX_CLIENTEDGE);
            }
        }
    }
}

// The controls that take no keyboard focus, then the panels under everything they frame.
void SettingsDialog::addRowsAndPanels() {
    for (const FaceRow& row : settings_rules::FaceRows()) {
        addControl(L"STATIC", L"", SS_OWNERDRAW, ids::Image(row.face),
                   InPanel(layout::kPanel3, layout::PreviewPlace(row)));
        addControl(L"BUTTON", L"", BS_PUSHBUTTON | BS_BITMAP, ids::SpeedButton(row.browseButton),
                   InPanel(layout::kPanel3, layout::BrowseButtonPlace(row)));
    }
    addControl(L"STATIC", WideFromUtf8(layout::kLabel1.text), SS_NOPREFIX, ids::Label(1),
               InPanel(layout::kPanel1, layout::kLabel1.place));
    const std::wstring hint = WithLineBreaks(context_.codec.decode(settings_rules::ResetHintText()));
    setTextColour(
        addControl(L"STATIC", hint, SS_NOPREFIX, ids::Label(2),
                   InPanel(layout::kPanel3, {layout::kLabel2.x, layout::kLabel2.y, 0, 0}), 0, FontLook::Bold),
        kRed);
    addControl(L"STATIC", L"", SS_ETCHEDFRAME, ids::Panel(2), layout::kPanel2);
    addControl(L"STATIC", L"", SS_ETCHEDFRAME, ids::Panel(1), layout::kPanel1);
    addControl(L"STATIC", L"", SS_ETCHEDFRAME, ids::Panel(3), layout::kPanel3);
}

void SettingsDialog::makeBrowsePicture() {
    browsePicture_ = DrawBrowsePicture(
        handle(), PictureScale(layout::kBrowsePictureSize, layout::kBrowsePictureSize, dpi()));
    for (int number = 1; number <= 16; ++number) {
        SendMessageW(control(ids::SpeedButton(number)), BM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(browsePicture_.get()));
    }
}

void SettingsDialog::onDpiChanged() {
    makeBrowsePicture();
}

bool SettingsDialog::checked(int id) const {
    return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SettingsDialog::setChecked(int id, bool on) {
    SendMessageW(control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SettingsDialog::FormCreate() {
    const settings_rules::PasteControls controls = settings_rules::ControlsFromSettings(context_.settings);
    setChecked(ids::CheckBox(1), controls.pasteChecked);
    setChecked(ids::CheckBox(2), controls.afterKeyChecked);
    CheckBox1Click();
    setChecked(ids::RadioButton(1), controls.afterKeyTab);
    setChecked(ids::RadioButton(2), !controls.afterKeyTab);
    setChecked(ids::RadioButton(3), controls.nextKeyTab);
    setChecked(ids::RadioButton(4), !controls.nextKeyTab);
    const std::vector<std::string>& paths = context_.buttonImagePaths;
    for (int face = 0; face < 16; ++face) {
        previews_[static_cast<std::size_t>(face)] = PreviewPicture(context_.face(face));
        const std::size_t index = static_cast<std::size_t>(face);
        const std::wstring text = index < paths.size() ? toWide(context_.codec.decode(paths[index])) : L"";
        SetWindowTextW(control(ids::Edit(face)), text.c_str());
    }
    focusOnOpen(control(ids::BitBtn(1)));
}

void SettingsDialog::CheckBox1Click() {
    EnableWindow(control(ids::CheckBox(2)), settings_rules::AfterKeyBoxEnabled(checked(ids::CheckBox(1))));
    CheckBox2Click();
}

void SettingsDialog::CheckBox2Click() {
    const bool enabled = settings_rules::AfterKeyPairEnabled(
        checked(ids::CheckBox(2)), IsWindowEnabled(control(ids::CheckBox(2))) != FALSE);
    EnableWindow(control(ids::RadioButton(1)), enabled ? TRUE : FALSE);
    EnableWindow(control(ids::RadioButton(2)), enabled ? TRUE : FALSE);
}

void SettingsDialog::SpeedButton1Click(int face) {
    const HWND box = control(ids::Edit(face));
    const std::u16string folder =
        settings_rules::StartFolderOf(WindowText(box), settings_rules::kWindowsPathSeparators);
    const auto chosen =
        context_.choosePicture(handle(), toWide(folder), WideFromUtf8(settings_rules::kBitmapFilterUtf8));
    if (!chosen) {
        return;
    }
    // A path that Shift-JIS cannot hold would be stored damaged; it is refused, with the reason.
    const std::string unstorable = UnstorableCharacterNames(fromWide(*chosen));
    if (!unstorable.empty()) {
        context_.dialogs.ask(settings_rules::UnstorablePathNotice(unstorable));
        SetWindowTextW(box, L"");
        return;
    }
    std::optional<PreviewPicture> picture = PreviewPicture::FromFile(*chosen);
    if (!picture) {
        SetWindowTextW(box, L"");
        return;
    }
    previews_[static_cast<std::size_t>(face)] = std::move(*picture);
    InvalidateRect(control(ids::Image(face)), nullptr, TRUE);
    UpdateWindow(control(ids::Image(face)));
    SetWindowTextW(box, chosen->c_str());
}

void SettingsDialog::DefaultBtnClick() {
    if (context_.dialogs.ask(settings_rules::ResetAllQuestion()) != DialogAnswer::Yes) {
        return;
    }
    const BusyCursor busy;
    for (int face = 0; face < 16; ++face) {
        SetWindowTextW(control(ids::Edit(face)), L"");
        previews_[static_cast<std::size_t>(face)] = PreviewPicture(context_.builtInFace(face));
        InvalidateRect(control(ids::Image(face)), nullptr, TRUE);
        UpdateWindow(control(ids::Image(face)));
    }
}

void SettingsDialog::BitBtn1Click() {
    const settings_rules::PasteControls controls{checked(ids::CheckBox(1)), checked(ids::CheckBox(2)),
                                                 checked(ids::RadioButton(1)), checked(ids::RadioButton(3))};
    settings_rules::StoreControls(controls, context_.settings);
    pathTexts_.clear();
    for (int face = 0; face < 16; ++face) {
        pathTexts_.push_back(context_.codec.encode(WindowText(control(ids::Edit(face)))).bytes);
    }
    end(IDOK);
}

void SettingsDialog::drawPreview(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    previews_[static_cast<std::size_t>(FaceOfPreview(static_cast<int>(item.CtlID)))].draw(
        item.hDC, item.rcItem, FaceScale(dpi()));
}

std::optional<INT_PTR> SettingsDialog::onMessage(UINT message, WPARAM /*wParam*/, LPARAM lParam) {
    if (message != WM_DRAWITEM) {
        return std::nullopt;
    }
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const int face = FaceOfPreview(static_cast<int>(item.CtlID));
    if (face < 0 || face >= 16) {
        return std::nullopt;
    }
    drawPreview(item);
    return TRUE;
}

void SettingsDialog::onCommand(int id, int code, HWND /*control*/) {
    if (code != BN_CLICKED) {
        return;
    }
    if (id == ids::CheckBox(1)) {
        CheckBox1Click();
    } else if (id == ids::CheckBox(2)) {
        CheckBox2Click();
    } else if (id == ids::kDefaultBtn) {
        DefaultBtnClick();
    } else if (id == ids::BitBtn(1)) {
        BitBtn1Click();
    } else if (id == ids::BitBtn(2)) {
        end(IDCANCEL);
    } else if (id > ids::kSpeedButton && id <= ids::SpeedButton(16)) {
        for (const FaceRow& row : settings_rules::FaceRows()) {
            if (id == ids::SpeedButton(row.browseButton)) {
                SpeedButton1Click(row.face);
            }
        }
    }
}

void OpenSettingsDialog(HWND owner, const SettingsDialogContext& context) {
    SettingsDialog dialog(context);
    if (dialog.run(owner) != IDOK) {
        return;
    }
    context.buttonImagePaths = dialog.pathTexts();
    context.rebuildFaces();
}
