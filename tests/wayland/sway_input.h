#pragma once

#include "session_input.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <string>

class SwaySession;
struct wl_display;
struct wl_proxy;
struct xkb_context;
struct xkb_keymap;

// The mouse and keyboard of a SwaySession, as the user's would be. A headless sway has no input devices, and
// a seat without a pointer or keyboard offers none to its clients (Xwayland included), so this makes a
// virtual pointer and a virtual keyboard (US layout) on sway's seat, through its wlroots protocols on a
// Wayland connection of its own, and keeps them. Make it right after the session starts: a client that binds
// the seat's devices late misses what came first. Clicks go through sway's pointer handling as a mouse's do
// (sway's own `seat - cursor` commands often left a click on an X11 window undelivered after the focus had
// moved); keys go to the window with sway's keyboard focus. Events are flushed to sway before a call returns,
// not seen by the window yet.
class SwayInput : public SessionInput {
  public:
    explicit SwayInput(const SwaySession& session);
    ~SwayInput();
    SwayInput(const SwayInput&) = delete;
    SwayInput& operator=(const SwayInput&) = delete;

    bool moveTo(QPoint point) override;
    bool click(QPoint point) override;
    bool tapKey(std::uint32_t keysym) override;
    // Presses or lets go of the key of the keysym (Shift held over a click).
    bool holdKey(std::uint32_t keysym, bool down);
    // Gives the keyboard this xkb layout ("jp"), as a keyboard with a layout of its own (an on-screen one, or
    // one of two with different layouts) has; it starts with "us".
    bool useLayout(const char* layout);

  private:
    bool sendKey(std::uint32_t key, bool pressed);
    bool flush();

    wl_display* display_ = nullptr;
    wl_proxy* seat_ = nullptr;
    wl_proxy* pointerManager_ = nullptr;
    wl_proxy* keyboardManager_ = nullptr;
    wl_proxy* pointer_ = nullptr;
    wl_proxy* keyboard_ = nullptr;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
};
