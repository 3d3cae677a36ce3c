#pragma once

#include "toolbar/input_time.h"

#include <QAbstractButton>
#include <QImage>

class QMenu;

// A flat speed button: no border unless the mouse is over it or it is down. Its picture holds one state,
// or two to four states side by side (up, disabled, pressed, down) when it is that many times as wide as
// high.
class FlatButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit FlatButton(QWidget* parent = nullptr);

    // The picture is drawn centred with the colour of its lower-left pixel transparent.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    QSize sizeHint() const override { return {23, 22}; }

    // While its clicked() is handled: when the user made the click, by the time of its input event; none
    // for a click a program made.
    InputEventTime clickTime() const { return clickTime_; }

    // Opens the menu at the point. The menu holds the pointer while it is open, so the button hears of no
    // leaving; when the menu closes, the hover border follows where the pointer is then.
    void popupMenu(QMenu* menu, const QPoint& at);

  signals:
    // The right mouse button went down on the button (menus open on the press).
    void rightPressed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void followPointer();

    QImage picture_;
    int tag_ = 0;
    bool hovered_ = false;
    InputEventTime clickTime_;
};
