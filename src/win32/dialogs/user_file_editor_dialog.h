#pragma once

#include "data/birth_date.h"
#include "dialogs/user_file_editor_layout.h"
#include "platform/dialogs.h"
#include "win32/dialogs/box_input_mode.h"
#include "win32/dialogs/editor_box_keys.h"
#include "win32/dialogs/modal_dialog.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

class Clipboard;
class CurrentUserHost;
class TextCodec;

// What the user file dialogs work with: the main window's current user, the questions, the clipboard, the
// codec of the windows' texts, the caption of the general error report and the folder of the user files.
struct UserDialogContext {
    CurrentUserHost& user;
    Dialogs& dialogs;
    Clipboard& clipboard;
    const TextCodec& codec;
    const std::string& applicationTitle;
    std::string folder;  // the user file folder, with its trailing separator
    std::function<CalendarDate()> today = TodayLocal;
};

// The user file editor "ユーザーファイル作成": 31 boxes of the record and the file-name box; OK stores them
// as a user file and offers it to the main window.
class UserFileEditorDialog final : public ModalDialog, private EditorBoxOwner {
  public:
    explicit UserFileEditorDialog(const UserDialogContext& context);

    // Fills the boxes from the file (an empty path: a new, empty record); AppError cannotOpenFile when it
    // cannot be read, before the dialog shows.
    void LoadUserFileIntoBoxes(const std::string& path);

  private:
    // What the dialog knows of one box beyond its window.
    struct BoxState {
        EditorBoxLink link;
        int maxBytes = 0;
        BoxInputMode mode = BoxInputMode::Unchanged;
        std::u16string accepted;            // the text after the last change the box took
        bool modified = false;              // the modified flag after that change
        std::optional<std::string> loaded;  // the bytes from the file, while the text is still theirs
        std::u16string loadedText;
    };

    void onInit() override;
    void onDpiChanged() override;
    void setBoxMargins();
    void showOkPicture();
    void onCommand(int id, int code, HWND control) override;
    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<INT_PTR> answerSessionEnd();

    void runShortcut(int box, EditCommand command) override;
    void showBoxMenu(int box, POINT screenPoint) override;
    void compositionEnded(int box) override;
    void boxLeft(int box) override;

    HWND box(int number) const;
    BoxState& state(int number);
    std::u16string textOf(int number) const;
    void setTextFromDialog(int number, const std::u16string& text);
    void takeChange(int number);
    void applyInputMode(int number);
    std::optional<std::string> keptBytes(int number) const;
    std::string storedBytes(int number) const;
    int focusedBox() const;
    std::u16string selectionOf(int number) const;

    void Edit31Exit();
    bool AnyBoxModified() const;
    void BitBtn1Click();
    // The enabled state of Cut1, Copy1, Paste1 and DDel1 for the focused box.
    std::array<bool, 4> PopupMenu1Popup() const;
    void runCommand(EditCommand command);
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void DDel1Click();

    const UserDialogContext& context_;
    std::array<BoxState, kEditorBoxCount> boxes_;  // by n - 1 of Edit<n>
    std::string loadedFileName_;
    BitmapHandle okPicture_;
    std::optional<AskingWindowScope> asking_;
    std::optional<KeptInputMethodState> openingInputMethod_;
    int inputModeBox_ = 0;              // the box whose input mode was set last; 0 before the first
    bool holdingUpSessionEnd_ = false;  // a shutdown block reason is set
};

// Shows the editor modally on the file (an empty path: a new record) and, when it has closed, lets the main
// window choose the name face again. A file that cannot be read throws AppError and shows nothing.
void OpenUserFileEditor(HWND owner, const UserDialogContext& context, const std::string& path);
