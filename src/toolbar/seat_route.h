#pragma once

#include "toolbar/delivery_route.h"

// sway and the other wlroots compositors: the click on the toolbar took the keyboard focus, so each delivery
// activates the window the user was last in again (an X11 window or a native one) and waits until the
// compositor says it is, whatever comes after: a copy-only click gives the keyboard back too. Keys go through
// the seat's virtual keyboard, each only while that window is still the activated one; the compositor shows
// every read of the seat's clipboard (ports.clipboard), so the key after Ctrl+V waits for the window's.
class SeatRoute : public DeliveryRoute {
  public:
    explicit SeatRoute(const DeliveryPorts& ports) : ports_(ports) {}
    Route route() const override { return Route::CompositorSeat; }
    DeliveryResult paste(PasteKeys keys, WindowHandle toolbar) override;
    DeliveryResult pressKey(Key key, WindowHandle toolbar) override;
    // Types through a keymap of the virtual keyboard's that carries the text's characters.
    TypingOutcome type(std::u32string_view text, std::optional<Key> after, WindowHandle toolbar) override;
    void giveKeyboardBack() override;

  private:
    const DeliveryPorts& ports_;
    bool managerReads_ = false;  // a clipboard manager read an earlier text before its Ctrl+V
};
