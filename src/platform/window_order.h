#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A top-level window of the desktop, by the window system's own id; it means nothing across displays.
using WindowHandle = std::uint64_t;

// The stacking order of the desktop's top-level windows and the request to make one of them active.
class WindowOrder {
  public:
    virtual ~WindowOrder() = default;

    // The highest visible ordinary window of another application below the toolbar, skipping every window of
    // this program and the stay-on-top windows of others (unless the user is working in one); nothing when
    // no such window lies below.
    virtual std::optional<WindowHandle> findWindowBelow(WindowHandle toolbar) = 0;

    // The window's title as Shift-JIS bytes (characters Shift-JIS cannot hold are left out); empty when it
    // has none or has gone.
    virtual std::string windowTitle(WindowHandle window) = 0;

    // Asks for the window to be raised and given the keyboard focus; false when the request could not be
    // made. The window may become active only a little later: ask isActive().
    virtual bool activate(WindowHandle window) = 0;

    // True when the window holds the keyboard focus, so that key events reach it.
    virtual bool isActive(WindowHandle window) = 0;

    // True while the window, or a window its own program has just opened over it (a dialog), is active: the
    // target is still in front and needs no new request for the foreground.
    virtual bool isInFront(WindowHandle window) { return isActive(window); }

    // Gives the keyboard focus back to where the last activate() of this window found it; called when no key
    // was sent to the window after all, so a failed delivery leaves the user's focus where it was.
    virtual void undoActivation(WindowHandle /*window*/) {}

    // The window that holds the keyboard focus now; 0 when none does or the window system cannot see it.
    virtual WindowHandle activeWindow() { return 0; }

    // True in a Wayland session: the X server sees only its own windows, not the session's native ones.
    virtual bool isWaylandSession() { return false; }

    // The window of another program that was active last, 0 when the last active one is a window this
    // window system cannot see (a Wayland session's own window); nothing when not known.
    virtual std::optional<WindowHandle> lastActiveWindow() { return std::nullopt; }

    // The window's id and title as UTF-8, for the log.
    virtual std::string describe(WindowHandle window) { return std::to_string(window); }

    // The window's class as the window system names it (X11: WM_CLASS's name and class; Win32: its window
    // class), by which a program's own habits are told apart; empty when not known.
    virtual std::string windowClass(WindowHandle /*window*/) { return {}; }
};
