#include "qt/notice_window.h"

#include "qt/qt_geometry.h"
#include "toolbar/delivery_notice.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int kMaxWidth = 360;

}  // namespace

NoticeWindow::NoticeWindow(QWidget* parent)
    // A tool-tip window bypasses the window manager: it is neither focused nor raised by a click.
    : QLabel(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("DeliveryNotice"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(4);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    hideTimer_.setSingleShot(true);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void NoticeWindow::showNear(const QString& text, const QRect& anchor) {
    setText(text);
    // The title carries the text too, so the window on the display says what it shows.
    setWindowTitle(text);
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect area =
        screen != nullptr ? screen->availableGeometry() : QRect(anchor.topLeft(), QSize(800, 600));
    // A short text keeps the notice narrow; a long one wraps at the widest a notice gets.
    const int textWidth = fontMetrics().horizontalAdvance(text) + 2 * (margin() + frameWidth()) + 2;
    const int width = std::min({textWidth, kMaxWidth, area.width()});
    setFixedWidth(width);
    const QSize size(width, heightForWidth(width));
    setFixedHeight(size.height());
    setGeometry(toQRect(NoticeGeometry(fromQRect(anchor), fromQSize(size), fromQRect(area))));
    show();
    raise();
    hideTimer_.start(NoticeShowMilliseconds(static_cast<std::size_t>(text.size())));
}
