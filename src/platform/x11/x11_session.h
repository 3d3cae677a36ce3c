#pragma once

typedef struct _XDisplay Display;

namespace x11 {

// True when the X server is Xwayland, the guest X server of a Wayland session, asked of the server itself: a
// WAYLAND_DISPLAY in the environment says nothing about the server this connection reaches.
bool isXwayland(Display* display);

}  // namespace x11
