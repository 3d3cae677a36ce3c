#pragma once

#include "toolbar/delivery_route.h"

#include <memory>
#include <optional>
#include <string>

// The table of routes: which one serves the session is decided here and nowhere else.
//
// | the platform offers                                  | route          |
// |------------------------------------------------------|----------------|
// | no window order or keys (no ports)                   | CopyOnly       |
// | the compositor's seat (ports.seat: sway, wlroots)    | CompositorSeat |
// | a Wayland session with the desktop's remote control, | KdePortal      |
// |   and the compositor's own clipboard (KDE Plasma)    |                |
// | the same without it (GNOME)                          | GnomePortal    |
// | anything else (X11, Windows)                         | WindowBelow    |
//
// A portal route serves an X11 window the user was last in as the window below. While a route is not
// available (the desktop's remote control went away, until its service is back), its fallback serves:
// the window below for a portal route, which then reaches X11 windows only.
Route ChooseRoute(const DeliveryPorts* ports);

// What the toolbar delivers through: the route chosen at start, and its fallback while it is not
// available, each change logged.
class DeliveryRoutes {
  public:
    // Null ports: the toolbar only copies.
    explicit DeliveryRoutes(const DeliveryPorts* ports);
    DeliveryRoutes(const DeliveryRoutes&) = delete;
    DeliveryRoutes& operator=(const DeliveryRoutes&) = delete;

    // The route chosen, and whether its fallback serves now, for the log at start.
    std::string describe() const;
    // The route to deliver through now; a change since the last call is logged.
    DeliveryRoute& current();

  private:
    std::unique_ptr<DeliveryRoute> make(Route route) const;
    void log(const std::string& line) const;

    std::optional<DeliveryPorts> ports_;
    std::unique_ptr<DeliveryRoute> chosen_;
    std::unique_ptr<DeliveryRoute> fallback_;
    bool onFallback_ = false;
};
