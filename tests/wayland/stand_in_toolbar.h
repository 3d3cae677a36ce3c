#pragma once

#include <QEnterEvent>
#include <QMouseEvent>
#include <QRect>
#include <QWidget>

#include <optional>

// Like the program's toolbar: on top of all, never taking the focus, of a fixed size (so a tiling compositor
// floats it), at the place asked where the compositor lets it choose. Remembers whether the pointer entered
// and where it was pressed.
class StandInToolbar : public QWidget {
  public:
    explicit StandInToolbar(const QRect& place) {
        setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
        setWindowTitle("toolbar");
        setGeometry(place);
        setFixedSize(place.size());
        show();
    }
    bool entered = false;
    std::optional<QPoint> pressedAt;

  protected:
    void enterEvent(QEnterEvent*) override { entered = true; }
    void mousePressEvent(QMouseEvent* event) override { pressedAt = event->globalPosition().toPoint(); }
};
