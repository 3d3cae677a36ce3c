#include "platform/x11/x11_platform.h"

#include "platform/x11/x11_display.h"
#include "platform/x11/x11_key_input.h"
#include "platform/x11/x11_window_order.h"

std::optional<X11Delivery> openX11Delivery(const char* displayName) {
    const std::shared_ptr<X11Display> display = X11Display::open(displayName);
    if (!display) {
        return std::nullopt;
    }
    return X11Delivery{display, makeX11WindowOrder(display), makeX11KeyInput(display)};
}
