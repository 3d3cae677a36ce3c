#pragma once

#include "platform/window_order.h"
#include "platform/x11/x11_display.h"

#include <memory>

// Where the stacking order is read from.
enum class StackingSource {
    Automatic,   // the window manager's client list when one runs, the window tree otherwise
    WindowTree,  // always the window tree, as without a window manager
};

// The window order of an X display, on the connection given.
std::unique_ptr<WindowOrder> makeX11WindowOrder(std::shared_ptr<X11Display> display,
                                                StackingSource source = StackingSource::Automatic);
