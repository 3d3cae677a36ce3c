#pragma once

#include "platform/key_input.h"

#include <map>
#include <memory>
#include <string>

class WaylandConnection;
struct wl_keyboard;
struct zwp_virtual_keyboard_v1;
struct xkb_context;
struct xkb_keymap;

// A virtual keyboard on the user's seat, made once and kept for the run, that uploads the seat's own keymap
// (as the seat's keyboard sends it) and follows its changes: toolkits ignore a shortcut such as Ctrl+V from
// a keyboard whose keymap is not the one they know the seat by. Keys go to the window with the seat's focus.
class SeatVirtualKeyboard : public KeyInput {
  public:
    // Nothing where the compositor offers no virtual keyboard or no seat.
    static std::unique_ptr<SeatVirtualKeyboard> open(std::shared_ptr<WaylandConnection> connection);
    ~SeatVirtualKeyboard() override;
    SeatVirtualKeyboard(const SeatVirtualKeyboard&) = delete;
    SeatVirtualKeyboard& operator=(const SeatVirtualKeyboard&) = delete;

    // True once the seat's keymap is known and uploaded; false while the seat has no keyboard.
    bool ready() const { return keymap_ != nullptr; }

    bool press(Key key) override;
    bool release(Key key) override;
    // The user's keyboard sends its modifiers only to the window with the focus, not to this program.
    bool anyModifierHeld() override { return false; }

    // For the handlers of the seat's events.
    void takeSeatKeymap(int fd, std::uint32_t size);
    void takeCapabilities(std::uint32_t capabilities);

  private:
    explicit SeatVirtualKeyboard(std::shared_ptr<WaylandConnection> connection);
    bool sendKey(Key key, bool pressed);

    std::shared_ptr<WaylandConnection> connection_;
    wl_keyboard* seatKeyboard_ = nullptr;
    zwp_virtual_keyboard_v1* keyboard_ = nullptr;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    std::string uploadedKeymap_;
    std::map<Key, std::uint32_t> keycodes_;  // evdev codes, as the protocol takes them
    std::uint32_t controlMask_ = 0;
};
