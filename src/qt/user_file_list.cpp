#include "qt/user_file_list.h"

#include "data/app_error.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "dialogs/user_file_list_layout.h"
#include "dialogs/user_file_list_logic.h"
#include "platform/dialogs.h"
#include "platform/error_report.h"
#include "platform/qt/qt_sjis.h"
#include "platform/qt/qt_text_collator.h"
#include "qt/dialog_look.h"
#include "qt/qt_geometry.h"
#include "qt/user_dialog_support.h"
#include "qt/user_file_editor.h"
#include "toolbar/current_user_host.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>

namespace {

namespace layout = user_file_list_layout;

constexpr int kNameRole = Qt::UserRole;

}  // namespace

TForm2::TForm2(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
               std::string folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      user_(user),
      dialogs_(dialogs),
      applicationTitle_(applicationTitle),
      folder_(std::move(folder)) {
    InitUserDialogResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8(layout::kCaption));
    setFont(UserDialogFont());
    resize(layout::kClient.width, layout::kClient.height);

    label1_ = new QLabel(QString::fromUtf8(layout::kLabel1.text), this);
    label1_->setObjectName(QString::fromLatin1(layout::kLabel1.name));
    label1_->setGeometry(toQRect(layout::kLabel1.place));

    bitBtn1_ = addButton(layout::kButtons[0]);
    bitBtn2_ = addButton(layout::kButtons[1]);
    bitBtn3_ = addButton(layout::kButtons[2]);
    bitBtn4_ = addButton(layout::kButtons[3]);
    bitBtn5_ = addButton(layout::kButtons[4]);
    // Created after the buttons, so that it comes last in the tab order.
    listView1_ = new QTreeWidget(this);
    listView1_->setObjectName(QStringLiteral("ListView1"));
    listView1_->setGeometry(toQRect(layout::kListView1));
    listView1_->setColumnCount(1);
    listView1_->setHeaderHidden(true);
    listView1_->header()->setStretchLastSection(false);
    listView1_->setRootIsDecorated(false);
    listView1_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView1_->setIconSize(QSize(16, 16));
    listView1_->setAllColumnsShowFocus(true);
    connect(listView1_, &QTreeWidget::itemSelectionChanged, this, &TForm2::ListView1Change);

    connect(bitBtn1_, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    connect(bitBtn2_, &QPushButton::clicked, this, &QDialog::reject);
    connect(bitBtn3_, &QPushButton::clicked, this, &TForm2::BitBtn3Click);
    connect(bitBtn4_, &QPushButton::clicked, this, &TForm2::BitBtn4Click);
    connect(bitBtn5_, &QPushButton::clicked, this, &TForm2::BitBtn5Click);

    FormCreate();
    ListView1Change();
    dialog_look::CentreOnScreen(*this, parent);
}

QPushButton* TForm2::addButton(const DialogControlPlace& place) {
    auto* pushButton = new QPushButton(QString::fromUtf8(place.text), this);
    pushButton->setObjectName(QString::fromLatin1(place.name));
    pushButton->setGeometry(toQRect(place.place));
    MakeFocusOnlyButton(pushButton);
    return pushButton;
}

QPushButton* TForm2::button(int number) const {
    switch (number) {
        case 1:
            return bitBtn1_;
        case 2:
            return bitBtn2_;
        case 3:
            return bitBtn3_;
        case 4:
            return bitBtn4_;
        case 5:
            return bitBtn5_;
        default:
            return nullptr;
    }
}

QStringList TForm2::entries() const {
    QStringList texts;
    for (int row = 0; row < listView1_->topLevelItemCount(); ++row) {
        texts.append(listView1_->topLevelItem(row)->text(0));
    }
    return texts;
}

void TForm2::FormCreate() {
    const QIcon icon(QStringLiteral(":/dialogs/user_file.xpm"));
    for (const std::string& name : ListUserFileNames(folder_, QtTextCollator())) {
        auto* item = new QTreeWidgetItem(listView1_, {QStringFromSjis(name)});
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
    const int entryCount = listView1_->topLevelItemCount();
    const int rowHeight = entryCount > 0 ? std::max(1, listView1_->sizeHintForRow(0)) : 1;
    const int visibleRows = (listView1_->height() - 2 * listView1_->frameWidth()) / rowHeight;
    listView1_->setColumnWidth(0, UserFileColumnWidth(listView1_->width(), visibleRows, entryCount));

    std::vector<std::string> names;
    for (int row = 0; row < entryCount; ++row) {
        names.push_back(listView1_->topLevelItem(row)->data(0, kNameRole).toByteArray().toStdString());
    }
    if (const auto row = PreselectedRow(names, user_.path())) {
        QTreeWidgetItem* item = listView1_->topLevelItem(static_cast<int>(*row));
        listView1_->setCurrentItem(item);
        item->setSelected(true);
        listView1_->setFocus(Qt::OtherFocusReason);
    }
}

void TForm2::ListView1Change() {
    const bool one = listView1_->selectedItems().size() == 1;
    bitBtn1_->setEnabled(one);
    bitBtn3_->setEnabled(one);
    bitBtn5_->setEnabled(one);
}

std::string TForm2::selectedName() const {
    const QList<QTreeWidgetItem*> selected = listView1_->selectedItems();
    if (selected.isEmpty()) {
        return {};
    }
    return selected.front()->data(0, kNameRole).toByteArray().toStdString();
}

void TForm2::BitBtn1Click() {
    if (listView1_->selectedItems().size() == 1) {
        ChooseUserFile(user_, folder_, selectedName());
    }
    accept();
}

void TForm2::BitBtn3Click() {
    if (listView1_->selectedItems().size() != 1) {
        return;
    }
    try {
        OpenUserFileEditorInFolder(user_, dialogs_, applicationTitle_, this,
                                   UserFilePath(folder_, selectedName()), folder_);
    } catch (const AppError& error) {
        // The file could not be read: the editor was not shown and the list stays open.
        ShowErrorReport(dialogs_, error.message(), applicationTitle_);
        return;
    }
    accept();
}

void TForm2::BitBtn4Click() {
    OpenUserFileEditorInFolder(user_, dialogs_, applicationTitle_, this, std::string(), folder_);
    accept();
}

void TForm2::BitBtn5Click() {
    const QList<QTreeWidgetItem*> selected = listView1_->selectedItems();
    if (selected.size() != 1) {
        return;
    }
    if (DeleteUserFileEntry(user_, dialogs_, folder_, selectedName())) {
        delete selected.front();
        // The view would move the selection to a neighbour; after a deletion nothing is selected.
        listView1_->selectionModel()->clear();
        ListView1Change();
    }
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (HandleDialogKey(this, event)) {
        return;
    }
    QDialog::keyPressEvent(event);
}

void OpenUserFileListInFolder(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
                              QWidget* parent, const std::string& folder) {
    TForm2 dialog(user, dialogs, applicationTitle, folder, parent);
    const AskingWindowScope asking(dialogs, &dialog);
    dialog.exec();
}

void OpenUserFileList(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
                      QWidget* parent) {
    OpenUserFileListInFolder(user, dialogs, applicationTitle, parent, UserFileFolder());
}
