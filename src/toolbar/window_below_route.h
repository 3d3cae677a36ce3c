#pragma once

#include "toolbar/delivery_route.h"

// The window directly below the toolbar (X11, Windows): found by the window order, activated and typed into
// by its id, each key only while it is still active, Ctrl+V only while the clipboard still holds our text.
// In a Wayland session only the X11 window the user last worked in is a target: the stack holds only X11
// windows, so the window below may lie under a native window the user was typing in.
class WindowBelowRoute : public DeliveryRoute {
  public:
    explicit WindowBelowRoute(const DeliveryPorts& ports) : ports_(ports) {}
    Route route() const override { return Route::WindowBelow; }
    DeliveryResult paste(PasteKeys keys, WindowHandle toolbar) override;
    DeliveryResult pressKey(Key key, WindowHandle toolbar) override;
    TypingOutcome type(std::u32string_view text, std::optional<Key> after, WindowHandle toolbar) override;

  private:
    const DeliveryPorts& ports_;
};
