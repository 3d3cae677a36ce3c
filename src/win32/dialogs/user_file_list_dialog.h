#pragma once

#include "platform/dialogs.h"
#include "win32/common_controls.h"
#include "win32/dialogs/dialog_pictures.h"
#include "win32/dialogs/modal_dialog.h"
#include "win32/dialogs/user_file_editor_dialog.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The list of user files "ユーザーファイルリスト", from which the user picks the current one, opens one in
// the editor, starts a new one or deletes one.
class UserFileListDialog final : public ModalDialog {
  public:
    explicit UserFileListDialog(const UserDialogContext& context);

  private:
    void onInit() override;
    void onCommand(int id, int code, HWND control) override;
    LRESULT onNotify(const NMHDR& header) override;
    void onDpiChanged() override;

    HWND list() const;
    std::optional<std::size_t> selectedRow() const;
    void sizeColumn();
    void showIcons();

    void FormCreate();
    void FormShow();
    void ListView1Change();
    void BitBtn1Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();

    const UserDialogContext& context_;
    std::vector<std::string> names_;  // the entries' Shift-JIS names, row by row
    CommonControls controls_;
    std::unique_ptr<SinglePictureList> icons_;
    std::optional<AskingWindowScope> asking_;
};

// Shows the list modally; returns when it has closed.
void OpenUserFileList(HWND owner, const UserDialogContext& context);
