#pragma once

#include "toolbar/delivery_route.h"
#include "toolbar/window_below_route.h"

// A Wayland session whose desktop offers keys for native windows through its remote control (the desktop
// portal): GNOME, and KDE Plasma with the compositor's own clipboard (ports.nativeClipboard) and KWin's word
// on the active window (ports.desktopWindow). The keys go to the native window with the keyboard focus once
// the desktop's consent is given; an X11 window the user was last in is served as the window below.
class PortalRoute : public DeliveryRoute {
  public:
    explicit PortalRoute(const DeliveryPorts& ports) : ports_(ports), windowBelow_(ports) {}
    Route route() const override;
    bool available() override;
    DeliveryResult paste(PasteKeys keys, WindowHandle toolbar) override;
    DeliveryResult pressKey(Key key, WindowHandle toolbar) override;
    TypingOutcome type(std::u32string_view text, std::optional<Key> after, WindowHandle toolbar) override;

  private:
    // True when the user was last in a native window: no X11 window is the last active one.
    bool nativeWindowInUse();
    DeliveryResult pasteThroughCompositorClipboard(std::optional<Key> after);

    const DeliveryPorts& ports_;
    WindowBelowRoute windowBelow_;
    bool managerReads_ = false;  // a clipboard manager read an earlier text before its Ctrl+V
};
