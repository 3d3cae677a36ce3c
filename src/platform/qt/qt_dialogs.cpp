#include "platform/qt/qt_dialogs.h"

#include "data/sjis.h"
#include "platform/qt/label_text.h"
#include "platform/qt/qt_sjis.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

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

// A message box that places itself, once it knows its size, in the middle of the asking window, or of the
// owner's screen when no window asks.
class CentredMessageBox final : public QMessageBox {
  public:
    CentredMessageBox(QWidget* owner, QWidget* asking) : QMessageBox(owner), asking_(asking) {}

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);  // sizes the box to its text and buttons
        move(centreFor() - QPoint(width() / 2, height() / 2));
    }

  private:
    QPoint centreFor() const {
        if (asking_ != nullptr) {
            return asking_->frameGeometry().center();
        }
        const QWidget* owner = parentWidget();
        const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->availableGeometry().center() : pos();
    }

    QWidget* asking_;
};

}  // namespace

DialogAnswer QtDialogs::ask(const DialogRequest& request) {
    auto* asking = static_cast<QWidget*>(askingWindow());
    // The asking window owns the box, so it stays above it; the toolbar owns the toolbar's own questions.
    CentredMessageBox box(asking != nullptr ? asking : parent_, asking);
    box.setIcon(toQtIcon(request.icon));
    box.setWindowTitle(QStringFromSjis(request.caption));
    box.setText(LabelText(request.text));
    box.setTextFormat(Qt::PlainText);

    std::map<QAbstractButton*, DialogAnswer> answers;
    for (const DialogButton& button : request.buttons) {
        QPushButton* pushButton = box.addButton(toStandardButton(button.answer));
        if (!button.caption.empty()) {
            pushButton->setText(QStringFromSjis(button.caption));
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
