#pragma once

#include <optional>

class X11Display;

namespace x11test {

// The window's place in the window manager's stacking list, 0 at the bottom; nothing when it is not there.
std::optional<int> stackingIndex(X11Display& display, unsigned long window);

// The X input focus of the display now.
unsigned long inputFocus(X11Display& display);

// Presses or lets go of the left Shift key, as the user's keyboard would.
void holdShift(X11Display& display, bool down);

}  // namespace x11test
