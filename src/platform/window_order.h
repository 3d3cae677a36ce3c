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
    // this program; nothing when no such window lies below.
    virtual std::optional<WindowHandle> findWindowBelow(WindowHandle toolbar) = 0;

    // The window's title as Shift-JIS bytes (characters Shift-JIS cannot hold are left out); empty when it
    // has none or has gone.
    virtual std::string windowTitle(WindowHandle window) = 0;

    // Asks for the window to be raised and given the keyboard focus; false when the request could not be
    // made. The window may become active only a little later: ask isActive().
    virtual bool activate(WindowHandle window) = 0;

    // True when the window holds the keyboard focus, so that key events reach it.
    virtual bool isActive(WindowHandle window) = 0;
};
