#include "platform/qt/qt_dialogs.h"

#include "data/sjis.h"
#include "platform/qt/label_text.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <map>

namespace {

QMessageBox::Icon toQtIcon(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Information:
            return QMessageBox::Information;
        case DialogIcon::Exclamation:
            return QMessageBox::Warning;
        case DialogIcon::Error:
            return QMessageBox::Critical;
        case DialogIcon::Question:
            return QMessageBox::Question;
        case DialogIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toStandardButton(DialogAnswer answer) {
    switch (answer) {
        case DialogAnswer::Ok:
            return QMessageBox::Ok;
        case DialogAnswer::Cancel:
            return QMessageBox::Cancel;
        case DialogAnswer::Yes:
            return QMessageBox::Yes;
        case DialogAnswer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

}  // namespace

DialogAnswer QtDialogs::ask(const DialogRequest& request) {
    QMessageBox box(parent_);
    box.setIcon(toQtIcon(request.icon));
    box.setWindowTitle(sjis::toUnicode(request.caption));
    box.setText(LabelText(request.text));
    box.setTextFormat(Qt::PlainText);

    std::map<QAbstractButton*, DialogAnswer> answers;
    for (const DialogButton& button : request.buttons) {
        QPushButton* pushButton = box.addButton(toStandardButton(button.answer));
        if (!button.caption.empty()) {
            pushButton->setText(sjis::toUnicode(button.caption));
        }
        answers[pushButton] = button.answer;
        if (button.answer == request.defaultAnswer) {
            box.setDefaultButton(pushButton);
        }
        if (button.answer == request.escapeAnswer) {
            box.setEscapeButton(pushButton);
        }
    }
    box.exec();
    const auto found = answers.find(box.clickedButton());
    return found != answers.end() ? found->second : request.escapeAnswer;
}
