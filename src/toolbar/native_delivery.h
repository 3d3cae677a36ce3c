#pragma once

#include "platform/key_input.h"
#include "toolbar/delivery.h"

#include <initializer_list>
#include <optional>

// True when a delivery's keys go to a native Wayland window: a Wayland session, no X11 window the last one
// the user was in, and a desktop that offers keys for native windows.
bool GoesToNativeWindow(const DeliveryPorts& ports);

// Sends the chord, then the key after it (following a paste's wait), to the native window that holds the
// keyboard focus, each only while no X11 window has taken the focus. Where the desktop's consent is still
// needed, asks for it instead and sends nothing. The action names the delivery in the log.
DeliveryResult DeliverToNativeWindow(const char* action, std::initializer_list<Key> chord, std::optional<Key> after,
                                     WindowHandle toolbar, const DeliveryPorts& ports);
