#include "qt/dialog_look.h"

#include "data/sjis.h"

#include <qdrawutil.h>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace dialog_look {

void CentreOnScreen(QWidget& window, const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

BevelPanel::BevelPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::NoFrame);
    setContentsMargins(2, 2, 2, 2);
}

void BevelPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect outer = rect();
    qDrawShadeRect(&painter, outer, palette(), true, 1);
    qDrawShadeRect(&painter, outer.adjusted(1, 1, -1, -1), palette(), false, 1);
}

}  // namespace dialog_look
