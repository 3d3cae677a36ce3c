#pragma once

#include "platform/key_input.h"
#include "toolbar/delivery.h"

#include <optional>

// True when a delivery's keys go to a native Wayland window: a Wayland session, no X11 window the last one
// the user was in, and a desktop that offers keys for native windows.
bool GoesToNativeWindow(const DeliveryPorts& ports);

// Ctrl+V, then the key after it when given, into the native window that holds the keyboard focus, each only
// while no X11 window has taken the focus. Where the desktop's consent is still needed, asks for it instead
// and sends nothing.
DeliveryResult PasteIntoNativeWindow(std::optional<Key> after, WindowHandle toolbar,
                                     const DeliveryPorts& ports);

// The Next button's key into that window, on the same terms.
DeliveryResult PressKeyInNativeWindow(Key key, WindowHandle toolbar, const DeliveryPorts& ports);
