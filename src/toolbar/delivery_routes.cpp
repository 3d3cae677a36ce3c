#include "toolbar/delivery_routes.h"

#include "platform/log.h"
#include "toolbar/portal_route.h"
#include "toolbar/seat_route.h"
#include "toolbar/window_below_route.h"

namespace {

// No window system to reach: the detail stays on the clipboard, as the click's notice says.
class CopyOnlyRoute : public DeliveryRoute {
  public:
    Route route() const override { return Route::CopyOnly; }
    DeliveryResult paste(PasteKeys, WindowHandle) override { return DeliveryResult::NoWindowBelow; }
    DeliveryResult pressKey(Key, WindowHandle) override { return DeliveryResult::NoWindowBelow; }
    TypingOutcome type(std::u32string_view text, std::optional<Key>, WindowHandle) override {
        return {DeliveryResult::NoWindowBelow, 0, text.size()};
    }
};

}  // namespace

const char* RouteName(Route route) {
    switch (route) {
        case Route::WindowBelow:
            return "the window below the toolbar";
        case Route::GnomePortal:
            return "GNOME's remote control for native windows, the window below for X11 ones";
        case Route::KdePortal:
            return "KDE's remote control with KWin's active window and the Wayland clipboard for native "
                   "windows, the window below for X11 ones";
        case Route::CompositorSeat:
            return "the compositor's seat (foreign-toplevel, data-control, virtual keyboard) for every "
                   "window";
        case Route::CopyOnly:
            return "copy only";
    }
    return "?";
}

Route ChooseRoute(const DeliveryPorts* ports) {
    if (ports == nullptr) {
        return Route::CopyOnly;
    }
    if (ports->seat != nullptr) {
        return Route::CompositorSeat;
    }
    if (ports->native != nullptr && ports->windows.isWaylandSession()) {
        return ports->nativeClipboard != nullptr ? Route::KdePortal : Route::GnomePortal;
    }
    return Route::WindowBelow;
}

DeliveryRoutes::DeliveryRoutes(const DeliveryPorts* ports) {
    if (ports != nullptr) {
        ports_.emplace(*ports);
    }
    chosen_ = make(ChooseRoute(ports));
    if (chosen_->route() == Route::GnomePortal || chosen_->route() == Route::KdePortal) {
        fallback_ = make(Route::WindowBelow);
        onFallback_ = !chosen_->available();
    }
}

std::string DeliveryRoutes::describe() const {
    std::string text = std::string("delivery route: ") + RouteName(chosen_->route());
    if (onFallback_) {
        text += "; until it is available, " + std::string(RouteName(fallback_->route()));
    }
    return text;
}

std::unique_ptr<DeliveryRoute> DeliveryRoutes::make(Route route) const {
    switch (route) {
        case Route::WindowBelow:
            return std::make_unique<WindowBelowRoute>(*ports_);
        case Route::GnomePortal:
        case Route::KdePortal:
            return std::make_unique<PortalRoute>(*ports_);
        case Route::CompositorSeat:
            return std::make_unique<SeatRoute>(*ports_);
        case Route::CopyOnly:
            break;
    }
    return std::make_unique<CopyOnlyRoute>();
}

DeliveryRoute& DeliveryRoutes::current() {
    const bool fallBack = fallback_ != nullptr && !chosen_->available();
    if (fallBack != onFallback_) {
        onFallback_ = fallBack;
        log(fallBack ? std::string("delivery route: ") + RouteName(fallback_->route()) + ", while " +
                           RouteName(chosen_->route()) + " is not available"
                     : std::string("delivery route: ") + RouteName(chosen_->route()) + " again");
    }
    return onFallback_ ? *fallback_ : *chosen_;
}

void DeliveryRoutes::log(const std::string& line) const {
    if (ports_ && ports_->log != nullptr) {
        ports_->log->write(LogCategory::Delivery, line);
    }
}
