#pragma once

#include "platform/key_input.h"
#include "platform/window_order.h"
#include "toolbar/delivery_ports.h"

#include <cstddef>
#include <optional>
#include <string_view>

// The ways a detail reaches the user's window; one is chosen for the session (see delivery_routes.h).
enum class Route {
    WindowBelow,     // X11 or Windows: the window directly below the toolbar, activated and typed into
    GnomePortal,     // GNOME's Wayland session: native windows through the desktop's remote control
    KdePortal,       // KDE Plasma: the same, with the compositor's own clipboard and KWin's active window
    CompositorSeat,  // sway and the other wlroots compositors: the compositor's seat, for every window
    CopyOnly,        // no window system to reach: the detail stays on the clipboard
};

const char* RouteName(Route route);

// How far a typed text got.
struct TypingOutcome {
    DeliveryResult result;
    std::size_t typed = 0;  // characters typed before the delivery stopped
    std::size_t total = 0;
    bool pasted = false;  // the route pasted instead, which types nothing
};

// What a paste sends: Ctrl+V, Ctrl+A before it to replace what the box holds, and the key after it.
struct PasteKeys {
    std::optional<Key> after;
    bool replace = false;
};

// One route. Every result is logged by the route, with what it aimed at and what it found.
class DeliveryRoute {
  public:
    virtual ~DeliveryRoute() = default;
    virtual Route route() const = 0;
    // False while the route cannot serve (the desktop's remote control is gone); another is chosen then.
    virtual bool available() { return true; }

    // Ctrl+V into the user's window, then the key after it when given.
    virtual DeliveryResult paste(PasteKeys keys, WindowHandle toolbar) = 0;
    // The Next button's key.
    virtual DeliveryResult pressKey(Key key, WindowHandle toolbar) = 0;
    // The text as key strokes, then the key after it; a route that cannot type pastes instead.
    virtual TypingOutcome type(std::u32string_view text, std::optional<Key> after, WindowHandle toolbar) {
        return {paste({after, false}, toolbar), 0, text.size(), true};
    }
    // A click that sends nothing took the keyboard from the user's window on some desktops: it goes back.
    virtual void giveKeyboardBack() {}
};
