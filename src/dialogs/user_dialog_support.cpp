#include "dialogs/user_dialog_support.h"

#include "data/sjis.h"
#include "platform/qt/japanese_font.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QFont UserDialogFont() {
    return JapaneseUiFont(12);
}

std::string ApplicationTitle() {
    const QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? sjis::fromUtf8("Zenporo！") : sjis::fromUnicode(title);
}

void CentreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    window->move(area.center() - window->rect().center());
}

void InitUserDialogResources() {
    Q_INIT_RESOURCE(dialogs);
}
