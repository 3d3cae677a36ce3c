#pragma once

#include <string>

typedef struct _XDisplay Display;

namespace x11 {

// The window's title as Shift-JIS: _NET_WM_NAME (UTF-8) when set, else WM_NAME in whichever encoding it
// carries. Characters that Shift-JIS cannot hold are left out; empty when the window has none or is gone.
std::string readWindowTitle(Display* display, unsigned long window);

// The same title as UTF-8, whole, for the log.
std::string readWindowTitleUtf8(Display* display, unsigned long window);

}  // namespace x11
