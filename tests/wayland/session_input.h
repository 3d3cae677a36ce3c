#pragma once

#include <QPoint>
#include <QString>

#include <cstdint>

// The mouse and keyboard of a test session, as the user's would be; each desktop's stack has its own way in.
class SessionInput {
  public:
    virtual ~SessionInput() = default;

    bool ready() const { return failure_.isEmpty(); }
    const QString& failure() const { return failure_; }

    // Moves the pointer to the point of the screen (X11 root coordinates).
    virtual bool moveTo(QPoint point) = 0;
    // Moves the pointer there and clicks the left button.
    virtual bool click(QPoint point) = 0;
    // Presses and lets go of the key of the X11 keysym.
    virtual bool tapKey(std::uint32_t keysym) = 0;

  protected:
    QString failure_;
};
