#pragma once

#include "session_input.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <string>

// A mouse and a keyboard of the compositor itself, as the user's would be: a remote desktop session of
// mutter's own on a bus connection of this object. A click goes to the window under the pointer, keys to the
// window with the keyboard focus, native Wayland windows included; the compositor decides about focus as for
// a real click. The events are queued: the call returns before a window sees them. A headless compositor has
// no pointer or keyboard until a session like this one makes them, and a client that connected before misses
// the first events: make one right after the session starts and keep it. An X11 window that has just been
// mapped can still be missing from the compositor's picture, which then sends a click to the window below,
// while Xwayland hands the X11 event to the new window all the same. Move the pointer onto it until it sees
// the pointer enter (the compositor does not always tell a pointer that stands still about a window appearing
// under it), and only then click. Keep such a window clear of other X11 windows: over one of them the enter
// comes too early.
class CompositorInput : public SessionInput {
  public:
    explicit CompositorInput(const std::string& busAddress);
    ~CompositorInput();
    CompositorInput(const CompositorInput&) = delete;
    CompositorInput& operator=(const CompositorInput&) = delete;

    bool moveTo(QPoint point) override;
    bool click(QPoint point) override;
    bool tapKey(std::uint32_t keysym) override;

  private:
    bool call(const char* method, const QList<QVariant>& arguments);

    QString connection_;
    QString session_;
};
