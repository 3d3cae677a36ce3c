#include "qt/user_dialog_support.h"

#include "data/sjis.h"
#include "platform/qt/japanese_font.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

QFont UserDialogFont() {
    return JapaneseUiFont(12);
}

void InitUserDialogResources() {
    Q_INIT_RESOURCE(dialogs);
}

void MakeFocusOnlyButton(QPushButton* button) {
    // An auto-default button would become the dialog's default and take ENTER from the other controls.
    button->setAutoDefault(false);
    button->setDefault(false);
}

bool HandleDialogKey(QDialog* dialog, QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        return false;
    }
    if (auto* button = qobject_cast<QPushButton*>(dialog->focusWidget());
        button != nullptr && button->isEnabled()) {
        button->click();
    }
    event->accept();
    return true;
}
