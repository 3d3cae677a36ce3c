#pragma once

#include "platform/window_order.h"
#include "settings/toolbar_settings.h"
#include "toolbar/delivery_route.h"

#include <optional>
#include <string>
#include <string_view>

class DeliveryRoutes;

// The title of the window below the toolbar (Shift-JIS); empty when there is none.
std::string GetWindowBelowTitle(WindowOrder& windows, WindowHandle toolbar);

// The key after a paste or a typed text (TAB or ENTER by the settings), nothing when it is switched off.
std::optional<Key> AfterPasteKey(const ToolbarSettings& settings);
// The Next button's key: TAB when NextKey is true, ENTER otherwise.
Key NextButtonKey(const ToolbarSettings& settings);

// Pastes the clipboard into the user's window with Ctrl+V, then presses TAB or ENTER when PasteAfter is on,
// through the session's route (see delivery_routes.h).
DeliveryResult PasteIntoWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                    DeliveryRoutes& routes, bool replace = false);

// Types the text into the user's window as key strokes, a character at a time at a steady pace, then TAB or
// ENTER as a paste does; for drop-down lists (which select by what is typed) and boxes that refuse a paste.
// A route that cannot type pastes instead.
TypingOutcome TypeIntoWindowBelow(std::u32string_view text, const ToolbarSettings& settings,
                                  WindowHandle toolbar, DeliveryRoutes& routes);

// The Next button's key in the user's window.
DeliveryResult PressNextKeyInWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                         DeliveryRoutes& routes);

// The same through a route table made for this one delivery (a tool or a test that has no toolbar).
DeliveryResult PasteIntoWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                    const DeliveryPorts& ports);
TypingOutcome TypeIntoWindowBelow(std::u32string_view text, const ToolbarSettings& settings,
                                  WindowHandle toolbar, const DeliveryPorts& ports);
DeliveryResult PressNextKeyInWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                         const DeliveryPorts& ports);
