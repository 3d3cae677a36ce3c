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

// A virtual keyboard on the user's seat, made once and kept for the run. It carries a full keymap of its own,
// the one the seat's keyboard had when the program started (or a US one where that has no "v"), uploaded
// once and never changed in answer to the seat: the compositor hands windows the keymap of the keyboard a
// key comes from, so any full keymap makes Ctrl+V a paste, whereas following the seat's keymap answers our
// own upload. (GTK ignored Ctrl+V from a tiny keymap made for the keys alone.) Keys go to the window with
// the seat's focus.
class SeatVirtualKeyboard : public KeyInput {
  public:
    // Nothing where the compositor offers no virtual keyboard or no seat.
    static std::unique_ptr<SeatVirtualKeyboard> open(std::shared_ptr<WaylandConnection> connection);
    ~SeatVirtualKeyboard() override;
    SeatVirtualKeyboard(const SeatVirtualKeyboard&) = delete;
    SeatVirtualKeyboard& operator=(const SeatVirtualKeyboard&) = delete;

    // True once a keymap is uploaded.
    bool ready() const { return keymap_ != nullptr; }

    bool press(Key key) override;
    bool release(Key key) override;
    // The user's keyboard sends its modifiers only to the window with the focus, not to this program.
    bool anyModifierHeld() override { return false; }
    // Typing uploads our keymap with the text's characters on keys it leaves free, and ours again after.
    std::size_t prepareToType(std::u32string_view text) override;
    bool typeCharacter(char32_t character) override;
    void finishTyping() override;

    // For the handlers of the seat's events.
    void takeSeatKeymap(int fd, std::uint32_t size);
    void takeCapabilities(std::uint32_t capabilities);

  private:
    explicit SeatVirtualKeyboard(std::shared_ptr<WaylandConnection> connection);
    bool sendKey(Key key, bool pressed);
    // Takes the seat's keymap as ours, or a US one, and uploads it.
    void adoptKeymap(const std::string& seatKeymap);
    // The keycodes of the keys sent in that keymap; false when one is missing.
    bool findKeycodes(xkb_keymap* keymap);
    bool upload(const std::string& keymap);

    std::shared_ptr<WaylandConnection> connection_;
    wl_keyboard* seatKeyboard_ = nullptr;
    zwp_virtual_keyboard_v1* keyboard_ = nullptr;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    std::string ownKeymap_;
    bool otherKeymapSeen_ = false;           // the seat sent a keymap other than ours since our last upload
    std::map<Key, std::uint32_t> keycodes_;  // evdev codes, as the protocol takes them
    std::map<char32_t, std::uint32_t> typingKeycodes_;  // while a typing keymap is up
    std::uint32_t controlMask_ = 0;
};
