#pragma once

#include "platform/window_order.h"
#include "settings/toolbar_settings.h"
#include "toolbar/delivery_ports.h"

#include <cstddef>
#include <string>
#include <string_view>

// The title of the window below the toolbar (Shift-JIS); empty when there is none.
std::string GetWindowBelowTitle(WindowOrder& windows, WindowHandle toolbar);

// Pastes the clipboard into the window below the toolbar with Ctrl+V, then presses TAB or ENTER when
// PasteAfter is on. The keys go to the window found, by its id, and only once it is active; each key press
// only while it still is, and Ctrl+V only while the clipboard still holds our text. In a Wayland session only
// the X11 window the user last worked in is a target; when the user was last in a native window, the keys go
// to that window through ports.native, once allowed.
DeliveryResult PasteIntoWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                    const DeliveryPorts& ports);

// How far a typed text got.
struct TypingOutcome {
    DeliveryResult result;
    std::size_t typed = 0;  // characters typed before the delivery stopped
    std::size_t total = 0;
    bool pasted = false;  // a Wayland window got a paste instead, which types nothing
};

// Types the text into the window below as key strokes, a character at a time at a steady pace, then TAB or
// ENTER as a paste does; for drop-down lists (which select by what is typed) and boxes that refuse a paste.
// The same checks as a paste, and the target checked again before each further character. A native window
// of a Wayland session gets a paste instead: the desktop's remote control types only its layout's own keys.
TypingOutcome TypeIntoWindowBelow(std::u32string_view text, const ToolbarSettings& settings,
                                  WindowHandle toolbar, const DeliveryPorts& ports);

// The Next button: TAB when NextKey is true, ENTER otherwise, in the window below the toolbar.
DeliveryResult PressNextKeyInWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                         const DeliveryPorts& ports);
