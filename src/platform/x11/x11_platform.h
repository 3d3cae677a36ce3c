#pragma once

#include "platform/key_input.h"
#include "platform/window_order.h"
#include "platform/x11/x11_display.h"

#include <memory>
#include <optional>

// The window order and key input of the X display, sharing one connection of their own. The program's event
// loop calls display->takePendingEvents() whenever display->fileDescriptor() is readable, so the window order
// follows the active window as it changes.
struct X11Delivery {
    std::shared_ptr<X11Display> display;
    std::unique_ptr<WindowOrder> windows;
    std::unique_ptr<KeyInput> keys;
};

// Opens the display named by DISPLAY (or by displayName); nothing when it cannot be opened.
std::optional<X11Delivery> openX11Delivery(const char* displayName = nullptr);
