#include "qt/dialog_look.h"

#include "data/sjis.h"

#include <qdrawutil.h>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace dialog_look {

namespace {

QPoint centredTopLeft(const QRect& area, QSize size) {
    return area.center() - QPoint(size.width() / 2, size.height() / 2);
}

// Before a window is mapped its frame is unknown, so it is first placed by its client size alone. Once the
// window manager has framed it, the whole frame is centred, then the filter goes.
class FrameCentring : public QObject {
  public:
    FrameCentring(QWidget& window, QRect area) : QObject(&window), window_(window), area_(area) {
        window.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        const bool framed =
            type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint;
        if (watched == &window_ && framed && window_.isVisible()) {
            const QRect frame = window_.frameGeometry();
            if (frame.size() != window_.size()) {
                window_.removeEventFilter(this);
                window_.move(centredTopLeft(area_, frame.size()));
                deleteLater();
            }
        }
        return false;
    }

  private:
    QWidget& window_;
    QRect area_;
};

}  // namespace

void CentreOnScreen(QWidget& window, const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    window.move(centredTopLeft(area, window.size()));
    new FrameCentring(window, area);  // owned by the window
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
