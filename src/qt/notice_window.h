#pragma once

#include "toolbar/delivery_notice.h"

#include <QLabel>
#include <QRect>
#include <QTimer>

// A short notice near the toolbar that goes away by itself. It never takes the focus and is never
// activated, so the window the user works in keeps its focus; a newer notice replaces the one shown.
class NoticeWindow final : public QLabel {
    Q_OBJECT
  public:
    explicit NoticeWindow(QWidget* parent);

    // Shows the text (Unicode) next to the anchor (a window's frame in screen coordinates) for a while.
    void showNear(const QString& text, const QRect& anchor);

  private:
    QTimer hideTimer_;
};
