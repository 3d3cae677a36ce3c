#pragma once

#include "platform/key_input.h"
#include "toolbar/delivery_ports.h"

#include <optional>

// The deliveries of a compositor whose seat this program can type into (sway and the other wlroots
// compositors). The click on the toolbar took the keyboard focus, so each activates the window the user was
// last in again (an X11 window or a native one) and waits until the compositor says it is, whatever comes
// after: a copy-only click gives the keyboard back too. Keys go through the seat's virtual keyboard, each
// only while that window is still the activated one.

// Ctrl+V, then the key after it when given, once the compositor fetched the text from the seat's clipboard
// (ports.clipboard) for the window after the Ctrl+V.
DeliveryResult PasteThroughSeat(std::optional<Key> after, const DeliveryPorts& ports);

// The Next button's key.
DeliveryResult PressKeyThroughSeat(Key key, const DeliveryPorts& ports);

// Activates the window the user was last in, without waiting; for a click that sends nothing.
void GiveKeyboardBackThroughSeat(const DeliveryPorts& ports);
