#include "qt/user_file_list.h"

#include "platform/error_report.h"
#include "data/app_error.h"
#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"
#include "data/user_file.h"
#include "qt/dialog_look.h"
#include "qt/user_dialog_support.h"
#include "qt/user_file_editor.h"
#include "dialogs/user_file_list_logic.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_text_collator.h"
#include "toolbar/toolbar_host.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

namespace {

// The window is 308 x 228 pixels with its frame; the frame it was drawn for is 4 pixels on each side and a
// 19-pixel caption, which leaves this client area.
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 201;
constexpr int kListWidth = 193;
constexpr int kListHeight = 169;
constexpr int kNameRole = Qt::UserRole;

}  // namespace

TForm2::TForm2(ToolbarHost& host, std::string folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host),
      folder_(std::move(folder)) {
    InitUserDialogResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8("ユーザーファイルリスト"));
    setFont(UserDialogFont());
    resize(kClientWidth, kClientHeight);

    Label1 = new QLabel(QString::fromUtf8("ユーザーファイルを選択して下さい。"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 183, 12);

    BitBtn1 = addButton(1, "OK", 24);
    BitBtn2 = addButton(2, "キャンセル", 56);
    BitBtn3 = addButton(3, "編集", 88);
    BitBtn4 = addButton(4, "新規", 120);
    BitBtn5 = addButton(5, "削除", 152);
    // Created after the buttons, so that it comes last in the tab order.
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(8, 24, kListWidth, kListHeight);
    ListView1->setColumnCount(1);
    ListView1->setHeaderHidden(true);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setAllColumnsShowFocus(true);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TForm2::ListView1Change);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm2::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm2::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TForm2::BitBtn5Click);

    FormCreate();
    ListView1Change();
    dialog_look::CentreOnScreen(*this, parent);
}

QPushButton* TForm2::addButton(int number, const char* caption, int top) {
    auto* pushButton = new QPushButton(QString::fromUtf8(caption), this);
    pushButton->setObjectName(QStringLiteral("BitBtn%1").arg(number));
    pushButton->setGeometry(216, top, 75, 25);
    MakeFocusOnlyButton(pushButton);
    return pushButton;
}

QPushButton* TForm2::button(int number) const {
    switch (number) {
        case 1:
            return BitBtn1;
        case 2:
            return BitBtn2;
        case 3:
            return BitBtn3;
        case 4:
            return BitBtn4;
        case 5:
            return BitBtn5;
        default:
            return nullptr;
    }
}

QStringList TForm2::entries() const {
    QStringList texts;
    for (int row = 0; row < ListView1->topLevelItemCount(); ++row) {
        texts.append(ListView1->topLevelItem(row)->text(0));
    }
    return texts;
}

void TForm2::FormCreate() {
    const QIcon icon(QStringLiteral(":/dialogs/user_file.xpm"));
    for (const std::string& name : ListUserFileNames(folder_, QtTextCollator())) {
        auto* item = new QTreeWidgetItem(ListView1, {QStringFromSjis(name)});
        item->setIcon(0, icon);
        item->setData(0, kNameRole, QByteArray::fromStdString(name));
    }
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TForm2::FormShow() {
    const int entryCount = ListView1->topLevelItemCount();
    const int rowHeight = entryCount > 0 ? std::max(1, ListView1->sizeHintForRow(0)) : 1;
    const int visibleRows = (ListView1->height() - 2 * ListView1->frameWidth()) / rowHeight;
    ListView1->setColumnWidth(0, UserFileColumnWidth(ListView1->width(), visibleRows, entryCount));

    std::vector<std::string> names;
    for (int row = 0; row < entryCount; ++row) {
        names.push_back(ListView1->topLevelItem(row)->data(0, kNameRole).toByteArray().toStdString());
    }
    if (const auto row = PreselectedRow(names, host_.currentUserFile())) {
        QTreeWidgetItem* item = ListView1->topLevelItem(static_cast<int>(*row));
        ListView1->setCurrentItem(item);
        item->setSelected(true);
        ListView1->setFocus(Qt::OtherFocusReason);
    }
}

void TForm2::ListView1Change() {
    const bool one = ListView1->selectedItems().size() == 1;
    BitBtn1->setEnabled(one);
    BitBtn3->setEnabled(one);
    BitBtn5->setEnabled(one);
}

std::string TForm2::selectedName() const {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty()) {
        return {};
    }
    return selected.front()->data(0, kNameRole).toByteArray().toStdString();
}

void TForm2::BitBtn1Click() {
    if (ListView1->selectedItems().size() == 1) {
        ChooseUserFile(host_, folder_, selectedName());
    }
    accept();
}

void TForm2::BitBtn3Click() {
    if (ListView1->selectedItems().size() != 1) {
        return;
    }
    try {
        OpenUserFileEditorInFolder(host_, this, UserFilePath(folder_, selectedName()), folder_);
    } catch (const AppError& error) {
        // The file could not be read: the editor was not shown and the list stays open.
        ShowErrorReport(host_.dialogs(), error.message(), host_.applicationTitle());
        return;
    }
    accept();
}

void TForm2::BitBtn4Click() {
    OpenUserFileEditorInFolder(host_, this, std::string(), folder_);
    accept();
}

void TForm2::BitBtn5Click() {
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.size() != 1) {
        return;
    }
    if (DeleteUserFileEntry(host_, folder_, selectedName())) {
        delete selected.front();
        // The view would move the selection to a neighbour; after a deletion nothing is selected.
        ListView1->selectionModel()->clear();
        ListView1Change();
    }
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (HandleDialogKey(this, event)) {
        return;
    }
    QDialog::keyPressEvent(event);
}

void OpenUserFileListInFolder(ToolbarHost& host, QWidget* parent, const std::string& folder) {
    TForm2 dialog(host, folder, parent);
    const AskingWindowScope asking(host.dialogs(), &dialog);
    dialog.exec();
}

void OpenUserFileList(ToolbarHost& host, QWidget* parent) {
    OpenUserFileListInFolder(host, parent, UserFileFolder());
}
