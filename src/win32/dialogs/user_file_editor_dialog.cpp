#include "win32/dialogs/user_file_editor_dialog.h"

#include "data/app_error.h"
#include "dialogs/box_text.h"
#include "dialogs/user_file_editor_logic.h"
#include "platform/clipboard.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_text_codec.h"
#include "toolbar/current_user_host.h"
#include "win32/dialogs/box_input_mode.h"
#include "win32/dialogs/control_ids.h"
#include "win32/dialogs/dialog_pictures.h"
#include "win32/dialogs/dialog_text.h"
#include "win32/resource_ids.h"

#include <algorithm>
#include <utility>

namespace {

namespace ids = control_ids;

constexpr const wchar_t* kUnsavedChangesReason = L"保存していない変更があります";

int MenuId(EditCommand command) {
    switch (command) {
        case EditCommand::Cut:
            return ids::kCut1;
        case EditCommand::Copy:
            return ids::kCopy1;
        case EditCommand::Paste:
            return ids::kPaste1;
        case EditCommand::Delete:
            break;
    }
    return ids::kDDel1;
}

const wchar_t* ShortcutText(EditCommand command) {
    switch (command) {
        case EditCommand::Cut:
            return L"\tCtrl+X";
        case EditCommand::Copy:
            return L"\tCtrl+C";
        case EditCommand::Paste:
            return L"\tCtrl+V";
        case EditCommand::Delete:
            break;
    }
    return L"\tDel";
}

bool isBirthDateBox(int box) {
    return box == kBirthYearBox || box == kBirthMonthBox || box == kBirthDayBox;
}

}  // namespace

UserFileEditorDialog::UserFileEditorDialog(const UserDialogContext& context)
    : ModalDialog(WideFromUtf8(kEditorCaption), kEditorClient, DS_MODALFRAME), context_(context) {
    for (const EditorBoxPlace& place : EditorBoxesInTabOrder()) {
        BoxState& box = boxes_[static_cast<std::size_t>(place.box - 1)];
        box.link = {place.box, this};
        box.maxBytes = place.maxBytes;
        box.mode = place.mode;
    }
}

void UserFileEditorDialog::LoadUserFileIntoBoxes(const std::string& path) {
    const EditorContent content = ReadEditorContent(path);
    loadedFileName_ = content.loadedFileName;
    if (path.empty()) {
        return;
    }
    const auto load = [this](int number, const std::string& bytes) {
        BoxState& box = state(number);
        box.loaded = bytes;
        box.loadedText = context_.codec.decode(bytes);
        box.accepted = box.loadedText;
    };
    load(kFileNameBox, loadedFileName_);
    for (int field = 0; field < kFieldCount; ++field) {
        load(field + 1, content.fields[static_cast<std::size_t>(field)]);
    }
}

void UserFileEditorDialog::onInit() {
    asking_.emplace(context_.dialogs, handle());
    // The boxes switch the input method as they get the focus; the user's own state comes back at the close.
    openingInputMethod_.emplace(handle());
    // Labels first: they take no focus, so the tab order is the boxes' and then the buttons'.
    for (const EditorLabelPlace& label : EditorLabels()) {
        addControl(L"STATIC", WideFromUtf8(label.text), SS_LEFT | SS_NOPREFIX, ids::Label(label.number),
                   {label.left, label.top, 0, 0});
    }
    for (const EditorBoxPlace& place : EditorBoxesInTabOrder()) {
        const HWND edit = addControl(
            L"EDIT", toWide(state(place.box).accepted), WS_TABSTOP | ES_AUTOHSCROLL, ids::Edit(place.box),
            {place.left, place.top, place.width, kEditorBoxHeight}, WS_EX_CLIENTEDGE);
        // The byte limit is checked on each change; the control's own limit would count UTF-16 units.
        SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
        SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
        WatchEditorBox(edit, state(place.box).link);
    }
    addControl(L"BUTTON", WideFromUtf8(kEditorOkButton.text), WS_TABSTOP | BS_PUSHBUTTON, ids::BitBtn(1),
               kEditorOkButton.place);
    addControl(L"BUTTON", WideFromUtf8(kEditorCancelButton.text), WS_TABSTOP | BS_PUSHBUTTON, ids::BitBtn(2),
               kEditorCancelButton.place);
    setBoxMargins();
    showOkPicture();
}

// The floppy disk with the blue tick beside the OK button's caption.
void UserFileEditorDialog::showOkPicture() {
    BitmapHandle picture = DialogPicture(ZENPORO_SAVE_PICTURE, dpi());
    SendMessageW(control(ids::BitBtn(1)), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    okPicture_ = std::move(picture);
}

void UserFileEditorDialog::onDpiChanged() {
    setBoxMargins();
    showOkPicture();
}

// The boxes are as narrow as the layout's; the font's own margins would hide a full eight-character postal
// code, so the text starts right inside the frame. A new font resets them.
void UserFileEditorDialog::setBoxMargins() {
    for (int number = 1; number <= kEditorBoxCount; ++number) {
        SendMessageW(box(number), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, 0));
    }
}

HWND UserFileEditorDialog::box(int number) const {
    return control(ids::Edit(number));
}

UserFileEditorDialog::BoxState& UserFileEditorDialog::state(int number) {
    return boxes_[static_cast<std::size_t>(number - 1)];
}

std::u16string UserFileEditorDialog::textOf(int number) const {
    return WindowText(box(number));
}

void UserFileEditorDialog::setTextFromDialog(int number, const std::u16string& text) {
    BoxState& box = state(number);
    box.accepted = text;
    box.modified = false;
    SetWindowTextW(this->box(number), toWide(text).c_str());
    SendMessageW(this->box(number), EM_SETMODIFY, FALSE, 0);
}

void UserFileEditorDialog::takeChange(int number) {
    const HWND edit = box(number);
    BoxState& box = state(number);
    const std::u16string text = textOf(number);
    if (text == box.accepted || IsComposing(edit)) {
        return;
    }
    const BoxTextChange change = FittedBoxChange(text, box.accepted, box.maxBytes);
    if (change.text == text) {
        box.accepted = text;
        box.modified = SendMessageW(edit, EM_GETMODIFY, 0, 0) != 0;
        return;
    }
    // Cut back to what fits; a refused change leaves the flag as it was.
    const bool changed = change.text != box.accepted;
    box.accepted = change.text;
    box.modified = box.modified || changed;
    SetWindowTextW(edit, toWide(change.text).c_str());
    SendMessageW(edit, EM_SETSEL, change.caret, change.caret);
    SendMessageW(edit, EM_SETMODIFY, box.modified ? TRUE : FALSE, 0);
}

// Set as the focus comes from another box; the focus coming back to the same box (from another program,
// a message box or a button) keeps the mode the user chose in it.
void UserFileEditorDialog::applyInputMode(int number) {
    if (number == std::exchange(inputModeBox_, number)) {
        return;
    }
    SetBoxInputMode(box(number), state(number).mode);
}

std::optional<std::string> UserFileEditorDialog::keptBytes(int number) const {
    const BoxState& box = boxes_[static_cast<std::size_t>(number - 1)];
    if (!box.loaded || textOf(number) != box.loadedText) {
        return std::nullopt;
    }
    return box.loaded;
}

std::string UserFileEditorDialog::storedBytes(int number) const {
    if (auto kept = keptBytes(number)) {
        return std::move(*kept);
    }
    return context_.codec.encode(textOf(number)).bytes;
}

int UserFileEditorDialog::focusedBox() const {
    const HWND focus = GetFocus();
    for (int number = 1; number <= kEditorBoxCount; ++number) {
        if (focus != nullptr && focus == box(number)) {
            return number;
        }
    }
    return 0;
}

void UserFileEditorDialog::onCommand(int id, int code, HWND /*control*/) {
    if (id == ids::BitBtn(1) && code == BN_CLICKED) {
        BitBtn1Click();
        return;
    }
    if (id == ids::BitBtn(2) && code == BN_CLICKED) {
        end(IDCANCEL);
        return;
    }
    const int number = id - ids::kEdit;
    if (number < 1 || number > kEditorBoxCount) {
        return;
    }
    if (code == EN_CHANGE) {
        takeChange(number);
    } else if (code == EN_SETFOCUS) {
        applyInputMode(number);
    }
}

std::optional<INT_PTR> UserFileEditorDialog::onMessage(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    switch (message) {
        case WM_QUERYENDSESSION:
            return answerSessionEnd();
        case WM_DESTROY:
            openingInputMethod_.reset();
            if (holdingUpSessionEnd_) {
                ShutdownBlockReasonDestroy(handle());
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// Windows is about to restart or sign the user out. With a changed box the editor holds it up with a reason
// that Windows shows in its list of programs, where the user decides; otherwise the default lets it go.
std::optional<INT_PTR> UserFileEditorDialog::answerSessionEnd() {
    if (!AnyBoxModified()) {
        return std::nullopt;
    }
    if (!holdingUpSessionEnd_) {
        holdingUpSessionEnd_ = ShutdownBlockReasonCreate(handle(), kUnsavedChangesReason) != FALSE;
    }
    SetWindowLongPtrW(handle(), DWLP_MSGRESULT, FALSE);
    return TRUE;
}

void UserFileEditorDialog::compositionEnded(int box) {
    takeChange(box);
}

void UserFileEditorDialog::boxLeft(int box) {
    if (isBirthDateBox(box)) {
        Edit31Exit();
    }
}

void UserFileEditorDialog::Edit31Exit() {
    const auto age = AgeForBirthBoxes(storedBytes(kBirthYearBox), storedBytes(kBirthMonthBox),
                                      storedBytes(kBirthDayBox), context_.today());
    if (age) {
        setTextFromDialog(kAgeBox, context_.codec.decode(*age));
    }
}

bool UserFileEditorDialog::AnyBoxModified() const {
    return std::any_of(boxes_.begin(), boxes_.end(), [](const BoxState& box) { return box.modified; });
}

void UserFileEditorDialog::BitBtn1Click() {
    EditorOkRequest request;
    for (int number = 1; number <= kEditorBoxCount; ++number) {
        request.boxes[static_cast<std::size_t>(number - 1)] = textOf(number);
        request.keptBytes[static_cast<std::size_t>(number - 1)] = keptBytes(number);
    }
    request.anyModified = AnyBoxModified();
    request.loadedFileName = loadedFileName_;
    request.folder = context_.folder;
    request.applicationTitle = context_.applicationTitle;
    const EditorOkOutcome outcome = EditorOk(request, context_.user, context_.dialogs);
    if (outcome.close) {
        end(IDOK);
        return;
    }
    if (outcome.focusBox != 0) {
        SendMessageW(handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box(outcome.focusBox)), TRUE);
    }
}

std::array<bool, 4> UserFileEditorDialog::PopupMenu1Popup() const {
    const int number = focusedBox();
    if (number == 0) {
        // With the focus outside the boxes (on a button) the commands have nothing to act on.
        return {false, false, false, false};
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box(number), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool selection = end > start;
    return {selection, selection, ClipboardHoldsText(), selection};
}

void UserFileEditorDialog::runShortcut(int /*box*/, EditCommand command) {
    const std::array<bool, 4> enabled = PopupMenu1Popup();
    if (enabled[static_cast<std::size_t>(command)]) {
        runCommand(command);
    }
}

void UserFileEditorDialog::showBoxMenu(int number, POINT screenPoint) {
    if (screenPoint.x == -1 && screenPoint.y == -1) {
        // Opened from the keyboard: under the box.
        RECT place;
        GetWindowRect(box(number), &place);
        screenPoint = {place.left, place.bottom};
    }
    const MenuHandle menu(CreatePopupMenu());
    const std::array<bool, 4> enabled = PopupMenu1Popup();
    for (const EditorMenuItem& item : kEditorMenu) {
        const std::wstring caption = WideFromUtf8(item.caption) + ShortcutText(item.command);
        const UINT state = enabled[static_cast<std::size_t>(item.command)] ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu.get(), MF_STRING | state, static_cast<UINT_PTR>(MenuId(item.command)),
                    caption.c_str());
    }
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                      screenPoint.x, screenPoint.y, 0, handle(), nullptr);
    for (const EditorMenuItem& item : kEditorMenu) {
        if (chosen == MenuId(item.command)) {
            runCommand(item.command);
        }
    }
}

void UserFileEditorDialog::runCommand(EditCommand command) {
    // In the order of EditCommand.
    using Handler = void (UserFileEditorDialog::*)();
    static constexpr std::array<Handler, 4> handlers{
        &UserFileEditorDialog::Cut1Click, &UserFileEditorDialog::Copy1Click,
        &UserFileEditorDialog::Paste1Click, &UserFileEditorDialog::DDel1Click};
    (this->*handlers[static_cast<std::size_t>(command)])();
}

void UserFileEditorDialog::Cut1Click() {
    Copy1Click();
    DDel1Click();
}

std::u16string UserFileEditorDialog::selectionOf(int number) const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box(number), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::u16string text = textOf(number);
    start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
    return text.substr(start, std::max(start, end) - start);
}

void UserFileEditorDialog::Copy1Click() {
    const int number = focusedBox();
    if (number == 0) {
        return;
    }
    // Through the clipboard service, which marks the personal details as not for the cloud clipboard.
    if (!context_.clipboard.setText(context_.codec.encode(selectionOf(number)).bytes)) {
        throw cannotOpenClipboard();
    }
}

void UserFileEditorDialog::DDel1Click() {
    const int number = focusedBox();
    if (number == 0) {
        return;
    }
    SendMessageW(box(number), WM_CLEAR, 0, 0);
    state(number).modified = true;
    SendMessageW(box(number), EM_SETMODIFY, TRUE, 0);
}

void UserFileEditorDialog::Paste1Click() {
    const int number = focusedBox();
    if (number == 0) {
        return;
    }
    const ClipboardRead pasted = ReadClipboardText();
    if (!pasted.opened) {
        throw cannotOpenClipboard();
    }
    if (!pasted.text) {
        return;
    }
    const HWND edit = box(number);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::u16string kept = textOf(number);
    kept.erase(std::min<std::size_t>(start, kept.size()), end - start);
    const std::wstring inserted = toWide(PastedTextThatFits(*pasted.text, kept, state(number).maxBytes));
    const std::u16string before = textOf(number);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(inserted.c_str()));
    if (textOf(number) != before) {
        state(number).modified = true;
        SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
    }
}

void OpenUserFileEditor(HWND owner, const UserDialogContext& context, const std::string& path) {
    UserFileEditorDialog dialog(context);
    dialog.LoadUserFileIntoBoxes(path);
    dialog.run(owner);
    context.user.updateNameFace();
}
