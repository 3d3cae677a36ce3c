#include "toolbar/delivery.h"

#include "toolbar/delivery_routes.h"

std::string GetWindowBelowTitle(WindowOrder& windows, WindowHandle toolbar) {
    const std::optional<WindowHandle> below = windows.findWindowBelow(toolbar);
    return below ? windows.windowTitle(*below) : std::string();
}

std::optional<Key> AfterPasteKey(const ToolbarSettings& settings) {
    if (!settings.PasteAfter) {
        return std::nullopt;
    }
    return settings.AfterKey == 0 ? Key::Tab : Key::Return;
}

Key NextButtonKey(const ToolbarSettings& settings) {
    return settings.NextKey ? Key::Tab : Key::Return;
}

DeliveryResult PasteIntoWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                    DeliveryRoutes& routes, bool replace) {
    return routes.current().paste({AfterPasteKey(settings), replace}, toolbar);
}

TypingOutcome TypeIntoWindowBelow(std::u32string_view text, const ToolbarSettings& settings,
                                  WindowHandle toolbar, DeliveryRoutes& routes) {
    return routes.current().type(text, AfterPasteKey(settings), toolbar);
}

DeliveryResult PressNextKeyInWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                         DeliveryRoutes& routes) {
    return routes.current().pressKey(NextButtonKey(settings), toolbar);
}

DeliveryResult PasteIntoWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                    const DeliveryPorts& ports) {
    DeliveryRoutes routes(&ports);
    return PasteIntoWindowBelow(settings, toolbar, routes);
}

TypingOutcome TypeIntoWindowBelow(std::u32string_view text, const ToolbarSettings& settings,
                                  WindowHandle toolbar, const DeliveryPorts& ports) {
    DeliveryRoutes routes(&ports);
    return TypeIntoWindowBelow(text, settings, toolbar, routes);
}

DeliveryResult PressNextKeyInWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                         const DeliveryPorts& ports) {
    DeliveryRoutes routes(&ports);
    return PressNextKeyInWindowBelow(settings, toolbar, routes);
}
