#include "qt/user_file_editor.h"

#include "data/app_error.h"
#include "data/birth_date.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "dialogs/box_text.h"
#include "dialogs/user_file_editor_logic.h"
#include "platform/dialogs.h"
#include "platform/qt/qt_sjis.h"
#include "qt/dialog_look.h"
#include "qt/user_dialog_support.h"
#include "toolbar/current_user_host.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

namespace {

// Fields of digits and signs: the input method is switched off there altogether, so that keys arrive as
// half-width characters.
bool holdsDigitsOnly(int field) {
    return field == PostalCode || field == Age || (field >= PhoneArea && field <= FaxNumber) ||
           (field >= BirthYear && field <= BirthDay);
}

void applyInputMode(EditorBox* box, BoxInputMode mode) {
    if (mode != BoxInputMode::Off) {
        // Hiragana and katakana are the input method's own modes; Qt has no way to ask for them.
        return;
    }
    const int field = FieldOfBox(box->number());
    if (holdsDigitsOnly(field)) {
        box->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        return;
    }
    Qt::InputMethodHints hints = Qt::ImhLatinOnly | Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase;
    if (field == Email) {
        hints |= Qt::ImhEmailCharactersOnly;
    } else if (field == Url) {
        hints |= Qt::ImhUrlCharactersOnly;
    }
    box->setInputMethodHints(hints);
}

QPushButton* PlaceButton(QPushButton* button, const DialogControlPlace& place) {
    button->setObjectName(QString::fromLatin1(place.name));
    button->setText(QString::fromUtf8(place.text));
    button->setGeometry(place.place.x, place.place.y, place.place.width, place.place.height);
    return button;
}

QKeySequence ShortcutOf(EditCommand command) {
    switch (command) {
        case EditCommand::Cut:
            return QKeySequence(Qt::CTRL | Qt::Key_X);
        case EditCommand::Copy:
            return QKeySequence(Qt::CTRL | Qt::Key_C);
        case EditCommand::Paste:
            return QKeySequence(Qt::CTRL | Qt::Key_V);
        case EditCommand::Delete:
            break;
    }
    return QKeySequence(Qt::Key_Delete);
}

bool isBirthDateBox(int box) {
    return box == kBirthYearBox || box == kBirthMonthBox || box == kBirthDayBox;
}

}  // namespace

TForm3::TForm3(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
               std::string folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      user_(user),
      dialogs_(dialogs),
      applicationTitle_(applicationTitle),
      folder_(std::move(folder)) {
    InitUserDialogResources();
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QString::fromUtf8(kEditorCaption));
    setFont(UserDialogFont());
    setFixedSize(kEditorClient.width, kEditorClient.height);
    createLabels();
    createBoxes();
    createButtons();
    createPopupMenu();
    dialog_look::CentreOnScreen(*this, parent);
}

void TForm3::createLabels() {
    for (const EditorLabelPlace& place : EditorLabels()) {
        auto* label = new QLabel(QString::fromUtf8(place.text), this);
        label->setObjectName(QStringLiteral("Label%1").arg(place.number));
        label->move(place.left, place.top);
        label->adjustSize();
    }
}

void TForm3::createBoxes() {
    QWidget* previous = nullptr;
    for (const EditorBoxPlace& place : EditorBoxesInTabOrder()) {
        auto* edit = new EditorBox(place.box, place.maxBytes, this);
        edit->setGeometry(place.left, place.top, place.width, kEditorBoxHeight);
        applyInputMode(edit, place.mode);
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this,
                [this, edit](const QPoint& at) { popupMenu1_->popup(edit->mapToGlobal(at)); });
        connect(edit, &EditorBox::shortcutPressed, this, &TForm3::runShortcut);
        if (isBirthDateBox(place.box)) {
            connect(edit, &EditorBox::focusLeft, this, [this](Qt::FocusReason reason) {
                // Opening the popup menu or another window does not move the focus to another control.
                if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                    Edit31Exit();
                }
            });
        }
        boxes_[static_cast<std::size_t>(place.box - 1)] = edit;
        if (previous != nullptr) {
            setTabOrder(previous, edit);
        }
        previous = edit;
    }
}

void TForm3::createButtons() {
    bitBtn1_ = PlaceButton(new QPushButton(QIcon(QStringLiteral(":/dialogs/save_ok.xpm")), QString(), this),
                           kEditorOkButton);
    bitBtn2_ = PlaceButton(new QPushButton(this), kEditorCancelButton);
    MakeFocusOnlyButton(bitBtn1_);
    MakeFocusOnlyButton(bitBtn2_);
    setTabOrder(box(kFileNameBox), bitBtn1_);
    setTabOrder(bitBtn1_, bitBtn2_);
    connect(bitBtn1_, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    connect(bitBtn2_, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm3::createPopupMenu() {
    popupMenu1_ = new QMenu(this);
    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    for (const EditorMenuItem& item : kEditorMenu) {
        QAction* action = popupMenu1_->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        // The keys themselves are handled by the boxes; the menu only shows them.
        action->setShortcut(ShortcutOf(item.command));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(false);
        menuItem(item.command) = action;
        connect(action, &QAction::triggered, this, [this, command = item.command] { runCommand(command); });
    }
    connect(popupMenu1_, &QMenu::aboutToShow, this, &TForm3::PopupMenu1Popup);
}

QAction*& TForm3::menuItem(EditCommand command) {
    switch (command) {
        case EditCommand::Cut:
            return cut1_;
        case EditCommand::Copy:
            return copy1_;
        case EditCommand::Paste:
            return paste1_;
        case EditCommand::Delete:
            break;
    }
    return dDel1_;
}

void TForm3::runCommand(EditCommand command) {
    switch (command) {
        case EditCommand::Cut:
            Cut1Click();
            return;
        case EditCommand::Copy:
            Copy1Click();
            return;
        case EditCommand::Paste:
            Paste1Click();
            return;
        case EditCommand::Delete:
            DDel1Click();
            return;
    }
}

void TForm3::LoadUserFileIntoBoxes(const std::string& path) {
    const EditorContent content = ReadEditorContent(path);
    loadedFileName_ = content.loadedFileName;
    if (path.empty()) {
        return;
    }
    box(kFileNameBox)->loadBytes(loadedFileName_);
    for (int field = 0; field < kFieldCount; ++field) {
        box(field + 1)->loadBytes(content.fields[static_cast<std::size_t>(field)]);
    }
}

bool TForm3::AnyBoxModified() const {
    return std::any_of(boxes_.begin(), boxes_.end(),
                       [](const EditorBox* edit) { return edit->isModified(); });
}

void TForm3::Edit31Exit() {
    const auto age = AgeForBirthBoxes(box(kBirthYearBox)->storedBytes(), box(kBirthMonthBox)->storedBytes(),
                                      box(kBirthDayBox)->storedBytes(), today_());
    if (age) {
        box(kAgeBox)->setTextFromDialog(QStringFromSjis(*age));
    }
}

void TForm3::BitBtn1Click() {
    EditorOkRequest request;
    for (int number = 1; number <= kEditorBoxCount; ++number) {
        request.boxes[static_cast<std::size_t>(number - 1)] = box(number)->text().toStdU16String();
        request.keptBytes[static_cast<std::size_t>(number - 1)] = box(number)->keptBytes();
    }
    request.anyModified = AnyBoxModified();
    request.loadedFileName = loadedFileName_;
    request.folder = folder_;
    request.applicationTitle = applicationTitle_;
    const EditorOkOutcome outcome = EditorOk(request, user_, dialogs_);
    if (outcome.close) {
        accept();
        return;
    }
    if (outcome.focusBox != 0) {
        box(outcome.focusBox)->setFocus(Qt::OtherFocusReason);
    }
}

EditorBox* TForm3::focusedBox() const {
    return qobject_cast<EditorBox*>(focusWidget());
}

void TForm3::PopupMenu1Popup() {
    const EditorBox* target = focusedBox();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    // With the focus outside the boxes (on a button) the commands have nothing to act on.
    paste1_->setEnabled(target != nullptr && clip != nullptr && clip->hasText());
    const bool selection = target != nullptr && target->hasSelectedText();
    cut1_->setEnabled(selection);
    copy1_->setEnabled(selection);
    dDel1_->setEnabled(selection);
}

void TForm3::runShortcut(EditCommand command) {
    PopupMenu1Popup();
    QAction* item = menuItem(command);
    if (item->isEnabled()) {
        item->trigger();
    }
}

void TForm3::Cut1Click() {
    EditorBox* target = focusedBox();
    if (target == nullptr || !target->hasSelectedText()) {
        return;
    }
    QGuiApplication::clipboard()->setText(target->selectedText());
    target->del();
    target->setModified(true);
}

void TForm3::Copy1Click() {
    const EditorBox* target = focusedBox();
    if (target == nullptr || !target->hasSelectedText()) {
        return;
    }
    QGuiApplication::clipboard()->setText(target->selectedText());
}

void TForm3::Paste1Click() {
    EditorBox* target = focusedBox();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    if (target == nullptr || clip == nullptr || !clip->hasText()) {
        return;
    }
    const QString before = target->text();
    QString kept = before;
    if (target->hasSelectedText()) {
        kept.remove(target->selectionStart(), target->selectedText().size());
    }
    target->insert(QString::fromStdU16String(
        PastedTextThatFits(clip->text().toStdU16String(), kept.toStdU16String(), target->maxBytes())));
    if (target->text() != before) {
        target->setModified(true);
    }
}

void TForm3::DDel1Click() {
    EditorBox* target = focusedBox();
    if (target == nullptr || !target->hasSelectedText()) {
        return;
    }
    target->del();
    target->setModified(true);
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    if (HandleDialogKey(this, event)) {
        return;
    }
    QDialog::keyPressEvent(event);
}

void OpenUserFileEditorInFolder(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
                                QWidget* parent, const std::string& path, const std::string& folder) {
    TForm3 dialog(user, dialogs, applicationTitle, folder, parent);
    const AskingWindowScope asking(dialogs, &dialog);
    dialog.LoadUserFileIntoBoxes(path);
    dialog.exec();
    user.updateNameFace();
}

void OpenUserFileEditor(CurrentUserHost& user, Dialogs& dialogs, const std::string& applicationTitle,
                        QWidget* parent, const std::string& path) {
    OpenUserFileEditorInFolder(user, dialogs, applicationTitle, parent, path, UserFileFolder());
}
