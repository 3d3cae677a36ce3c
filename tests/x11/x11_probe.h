#pragma once

#include <optional>

class X11Display;

namespace x11test {

// The window's place in the window manager's stacking list, 0 at the bottom; nothing when it is not there.
std::optional<int> stackingIndex(X11Display& display, unsigned long window);

// The X input focus of the display now.
unsigned long inputFocus(X11Display& display);

// Names a new window of this connection, unmapped and no client, as the active one on the root, as newer
// mutter does with a window of its own while a native Wayland window has the focus. Returns that window.
unsigned long nameStrayWindowActive(X11Display& display);

// Presses or lets go of the left Shift key, as the user's keyboard would.
void holdShift(X11Display& display, bool down);

}  // namespace x11test
