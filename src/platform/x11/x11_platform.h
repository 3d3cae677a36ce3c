#pragma once

#include "platform/key_input.h"
#include "platform/window_order.h"

#include <memory>
#include <optional>

// The window order and key input of the X display, sharing one connection of their own.
struct X11Delivery {
    std::unique_ptr<WindowOrder> windows;
    std::unique_ptr<KeyInput> keys;
};

// Opens the display named by DISPLAY (or by displayName); nothing when it cannot be opened.
std::optional<X11Delivery> openX11Delivery(const char* displayName = nullptr);
