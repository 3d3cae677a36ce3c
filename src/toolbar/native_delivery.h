#pragma once

#include "platform/key_input.h"
#include "platform/window_order.h"
#include "toolbar/delivery_ports.h"

#include <optional>

// True when a delivery's keys go to a native Wayland window: a Wayland session, no X11 window the last one
// the user was in, and a desktop that offers keys for native windows.
bool GoesToNativeWindow(const DeliveryPorts& ports);

// Ctrl+V into the native window that holds the keyboard focus once the compositor holds our clipboard, then
// the key after it when given, once the window fetched the text; each key only while no X11 window has
// taken the focus. Where the desktop's consent is still needed, asks for it instead and sends nothing; an
// allowance kept from an earlier run is restored within the click.
DeliveryResult PasteIntoNativeWindow(std::optional<Key> after, WindowHandle toolbar,
                                     const DeliveryPorts& ports);

// The Next button's key into that window, on the same terms of consent.
DeliveryResult PressKeyInNativeWindow(Key key, WindowHandle toolbar, const DeliveryPorts& ports);
