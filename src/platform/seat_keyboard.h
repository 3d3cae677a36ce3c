#pragma once

#include "platform/key_input.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Keys into the windows of a Wayland compositor that names its windows to programs, lets one activate a
// window and type into it through a virtual keyboard on the user's seat (sway and the other wlroots
// compositors). The click on the toolbar takes the keyboard focus there, so the window the user was in is
// activated again before any key. No consent is asked: the paste switch of the settings is the user's say.
// The program's clipboard there is the seat's own, which the compositor hands to X11 windows as they read it.
class SeatKeyboard {
  public:
    using WindowId = std::uint64_t;
    struct Window {
        WindowId id = 0;
        std::string appId;  // UTF-8; the X11 class for an X11 window
        std::string title;  // UTF-8
    };

    virtual ~SeatKeyboard() = default;

    // The window the user was last in that is not one of this program's; nothing when none is known.
    virtual std::optional<Window> lastUserWindow() = 0;
    // Asks the compositor to activate the window on the seat; it answers later.
    virtual void activate(WindowId window) = 0;
    // True when the compositor's latest word is that the window is activated; with roundTrip, only after
    // everything it had to say up to now has been heard.
    virtual bool isActivated(WindowId window, bool roundTrip) = 0;
    // The virtual keyboard, with the seat's keymap; keys go to the window with the seat's keyboard focus.
    virtual KeyInput& keys() = 0;
    // Waits while the program goes on answering the compositor and the window system (the user's clicks and
    // keys stay queued) until done() is true, for at most the cap; false when the cap ran out.
    virtual bool waitServingEvents(std::chrono::milliseconds cap, const std::function<bool()>& done) = 0;
};
