#include "win32/dialogs/user_file_list_dialog.h"

#include "data/app_error.h"
#include "data/user_file.h"
#include "dialogs/user_file_list_layout.h"
#include "dialogs/user_file_list_logic.h"
#include "platform/error_report.h"
#include "platform/win32/win32_text_collator.h"
#include "toolbar/current_user_host.h"
#include "win32/dialogs/control_ids.h"
#include "win32/dialogs/dialog_text.h"
#include "win32/resource_ids.h"

#include <commctrl.h>

namespace {

namespace ids = control_ids;
namespace layout = user_file_list_layout;

}  // namespace

UserFileListDialog::UserFileListDialog(const UserDialogContext& context)
    : ModalDialog(WideFromUtf8(layout::kCaption), layout::kClient, WS_THICKFRAME),
      context_(context),
      controls_(ICC_LISTVIEW_CLASSES) {}

void UserFileListDialog::onInit() {
    asking_.emplace(context_.dialogs, handle());
    addControl(L"STATIC", WideFromUtf8(layout::kLabel1.text), SS_LEFT | SS_NOPREFIX, ids::Label(1),
               layout::kLabel1.place);
    for (int number = 1; number <= 5; ++number) {
        const DialogControlPlace& button = layout::kButtons[static_cast<std::size_t>(number - 1)];
        addControl(L"BUTTON", WideFromUtf8(button.text), WS_TABSTOP | BS_PUSHBUTTON, ids::BitBtn(number),
                   button.place);
    }
    // Last, so that it comes last in the tab order. It shares the dialog's image list, which the dialog
    // frees.
    const HWND view = addControl(WC_LISTVIEWW, L"",
                                 WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                                     LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS,
                                 ids::kListView1, layout::kListView1, WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(view, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = scaled(layout::kListView1.width);
    ListView_InsertColumn(view, 0, &column);
    showIcons();
    FormCreate();
    FormShow();
    ListView1Change();
}

HWND UserFileListDialog::list() const {
    return control(ids::kListView1);
}

void UserFileListDialog::FormCreate() {
    names_ = ListUserFileNames(context_.folder, Win32TextCollator());
    for (std::size_t row = 0; row < names_.size(); ++row) {
        std::wstring text = toWide(context_.codec.decode(names_[row]));
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(row);
        item.pszText = text.data();
        item.iImage = 0;
        ListView_InsertItem(list(), &item);
    }
}

void UserFileListDialog::sizeColumn() {
    const int visibleRows = ListView_GetCountPerPage(list());
    const int width =
        UserFileColumnWidth(layout::kListView1.width, visibleRows, static_cast<int>(names_.size()));
    ListView_SetColumnWidth(list(), 0, scaled(width));
}

void UserFileListDialog::FormShow() {
    sizeColumn();
    if (const auto row = PreselectedRow(names_, context_.user.path())) {
        const int index = static_cast<int>(*row);
        ListView_SetItemState(list(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list(), index, FALSE);
        focusOnOpen(list());
    }
}

void UserFileListDialog::showIcons() {
    auto icons = std::make_unique<SinglePictureList>(controls_, ZENPORO_USER_FILE_PICTURE, dpi());
    ListView_SetImageList(list(), icons->get(), LVSIL_SMALL);
    icons_ = std::move(icons);
}

void UserFileListDialog::onDpiChanged() {
    showIcons();
    sizeColumn();
}

std::optional<std::size_t> UserFileListDialog::selectedRow() const {
    if (ListView_GetSelectedCount(list()) != 1) {
        return std::nullopt;
    }
    const int row = ListView_GetNextItem(list(), -1, LVNI_SELECTED);
    if (row < 0 || static_cast<std::size_t>(row) >= names_.size()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row);
}

void UserFileListDialog::ListView1Change() {
    const bool one = selectedRow().has_value();
    for (const int number : {1, 3, 5}) {
        EnableWindow(control(ids::BitBtn(number)), one ? TRUE : FALSE);
    }
}

LRESULT UserFileListDialog::onNotify(const NMHDR& header) {
    if (header.idFrom == static_cast<UINT_PTR>(ids::kListView1) &&
        (header.code == LVN_ITEMCHANGED || header.code == LVN_DELETEITEM || header.code == LVN_INSERTITEM)) {
        ListView1Change();
    }
    return 0;
}

void UserFileListDialog::onCommand(int id, int code, HWND /*control*/) {
    if (code != BN_CLICKED) {
        return;
    }
    switch (id - ids::kBitBtn) {
        case 1:
            BitBtn1Click();
            return;
        case 2:
            end(IDCANCEL);
            return;
        case 3:
            BitBtn3Click();
            return;
        case 4:
            BitBtn4Click();
            return;
        case 5:
            BitBtn5Click();
            return;
        default:
            return;
    }
}

void UserFileListDialog::BitBtn1Click() {
    if (const auto row = selectedRow()) {
        ChooseUserFile(context_.user, context_.folder, names_[*row]);
    }
    end(IDOK);
}

void UserFileListDialog::BitBtn3Click() {
    const auto row = selectedRow();
    if (!row) {
        return;
    }
    try {
        OpenUserFileEditor(handle(), context_, UserFilePath(context_.folder, names_[*row]));
    } catch (const AppError& error) {
        // The file could not be read: the editor was not shown and the list stays open.
        ShowErrorReport(context_.dialogs, error.message(), context_.applicationTitle);
        return;
    }
    end(IDOK);
}

void UserFileListDialog::BitBtn4Click() {
    OpenUserFileEditor(handle(), context_, std::string());
    end(IDOK);
}

void UserFileListDialog::BitBtn5Click() {
    const auto row = selectedRow();
    if (!row || !DeleteUserFileEntry(context_.user, context_.dialogs, context_.folder, names_[*row])) {
        return;
    }
    names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(*row));
    ListView_DeleteItem(list(), static_cast<int>(*row));
    // After a deletion nothing is selected.
    ListView_SetItemState(list(), -1, 0, LVIS_SELECTED);
    ListView1Change();
}

void OpenUserFileList(HWND owner, const UserDialogContext& context) {
    UserFileListDialog dialog(context);
    dialog.run(owner);
}
