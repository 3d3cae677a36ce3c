#pragma once

#include "platform/window_order.h"
#include "settings/toolbar_settings.h"
#include "toolbar/delivery_ports.h"

#include <string>

// The title of the window below the toolbar (Shift-JIS); empty when there is none.
std::string GetWindowBelowTitle(WindowOrder& windows, WindowHandle toolbar);

// Pastes the clipboard into the window below the toolbar with Ctrl+V, then presses TAB or ENTER when
// PasteAfter is on. The keys go to the window found, by its id, and only once it is active; each key press
// only while it still is, and Ctrl+V only while the clipboard still holds our text. In a Wayland session only
// the X11 window the user last worked in is a target; when the user was last in a native window, the keys go
// to that window through ports.native, once allowed.
DeliveryResult PasteIntoWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                    const DeliveryPorts& ports);

// The Next button: TAB when NextKey is true, ENTER otherwise, in the window below the toolbar.
DeliveryResult PressNextKeyInWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                         const DeliveryPorts& ports);
