#pragma once

#include "platform/seat_keyboard.h"
#include "platform/wayland/data_control_clipboard.h"
#include "platform/wayland/foreign_toplevels.h"
#include "platform/wayland/seat_virtual_keyboard.h"

#include <memory>
#include <optional>

class Log;
class WaylandConnection;

// The seat keyboard of sway and the other wlroots compositors: foreign-toplevel names and activates the
// windows, data-control sets the clipboard, a virtual keyboard with the seat's keymap types.
class WlrootsSeatKeyboard : public SeatKeyboard {
  public:
    // The seat keyboard and the seat's clipboard, which together replace the X11 clipboard and keys.
    struct Services {
        std::unique_ptr<SeatKeyboard> keyboard;
        std::unique_ptr<Clipboard> clipboard;
    };
    // Nothing unless the compositor offers every one of them and the seat has a keyboard; the log says which
    // was missing.
    static std::optional<Services> open(std::shared_ptr<WaylandConnection> connection,
                                        ForeignToplevels::IsOwnWindow isOwn, Log* log);

    std::optional<Window> lastUserWindow() override { return toplevels_->lastUserWindow(); }
    void activate(WindowId window) override { toplevels_->activate(window); }
    bool isActivated(WindowId window, bool roundTrip) override;
    KeyInput& keys() override { return *keys_; }
    bool waitServingEvents(std::chrono::milliseconds cap, const std::function<bool()>& done) override;

  private:
    WlrootsSeatKeyboard() = default;

    std::shared_ptr<WaylandConnection> connection_;
    std::unique_ptr<ForeignToplevels> toplevels_;
    std::unique_ptr<SeatVirtualKeyboard> keys_;
};
