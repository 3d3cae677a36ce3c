#include "platform/wayland/seat_virtual_keyboard.h"

#include "platform/wayland/typing_keymap.h"
#include "platform/wayland/wayland_connection.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr std::uint32_t kXkbKeycodeOffset = 8;  // an xkb keycode is the evdev one plus 8

xkb_keysym_t keysymOf(Key key) {
    switch (key) {
        case Key::Control:
            return XKB_KEY_Control_L;
        case Key::V:
            return XKB_KEY_v;
        case Key::Tab:
            return XKB_KEY_Tab;
        case Key::Return:
            return XKB_KEY_Return;
        case Key::A:
            return XKB_KEY_a;
    }
    return XKB_KEY_NoSymbol;
}

// The first keycode whose first level of the first layout gives the keysym, as a user presses it.
std::optional<xkb_keycode_t> keycodeOf(xkb_keymap* keymap, xkb_keysym_t wanted) {
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap);
         ++code) {
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms);
        for (int i = 0; i < count; ++i) {
            if (syms[i] == wanted) {
                return code;
            }
        }
    }
    return std::nullopt;
}

// A sealed memory file holding the keymap text, as the protocol passes it.
int keymapFile(const std::string& text) {
    const int fd = memfd_create("zenporo-keymap", MFD_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (::write(fd, text.c_str(), text.size() + 1) != static_cast<ssize_t>(text.size() + 1)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::uint32_t millisecondsNow() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

void onKeymap(void* data, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        ::close(fd);
        return;
    }
    static_cast<SeatVirtualKeyboard*>(data)->takeSeatKeymap(fd, size);
}
void onEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void onLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void onKey(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}
void onModifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                 std::uint32_t) {}
void onRepeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener keyboardListener = {onKeymap, onEnter, onLeave, onKey, onModifiers, onRepeatInfo};

}  // namespace

std::unique_ptr<SeatVirtualKeyboard> SeatVirtualKeyboard::open(
    std::shared_ptr<WaylandConnection> connection) {
    if (connection->globals().virtualKeyboards == nullptr || connection->globals().seat == nullptr) {
        return nullptr;
    }
    std::unique_ptr<SeatVirtualKeyboard> keyboard(new SeatVirtualKeyboard(std::move(connection)));
    // The seat's keyboard tells its keymap, the user's; a seat without a keyboard gets a US one.
    keyboard->connection_->roundTrip();
    if (keyboard->keymap_ == nullptr) {
        keyboard->adoptKeymap({});
    }
    return keyboard;
}

SeatVirtualKeyboard::SeatVirtualKeyboard(std::shared_ptr<WaylandConnection> connection)
    : connection_(std::move(connection)), context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {
    connection_->globals().seatCapabilitiesChanged = [this](std::uint32_t capabilities) {
        takeCapabilities(capabilities);
    };
    takeCapabilities(connection_->globals().seatCapabilities);
    keyboard_ = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
        reinterpret_cast<zwp_virtual_keyboard_manager_v1*>(connection_->globals().virtualKeyboards),
        connection_->globals().seat);
}

SeatVirtualKeyboard::~SeatVirtualKeyboard() {
    connection_->globals().seatCapabilitiesChanged = nullptr;
    zwp_virtual_keyboard_v1_destroy(keyboard_);
    if (seatKeyboard_ != nullptr) {
        wl_keyboard_destroy(seatKeyboard_);
    }
    wl_display_flush(connection_->display());
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

void SeatVirtualKeyboard::takeCapabilities(std::uint32_t capabilities) {
    const bool hasKeyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (hasKeyboard && seatKeyboard_ == nullptr) {
        seatKeyboard_ = wl_seat_get_keyboard(connection_->globals().seat);
        wl_keyboard_add_listener(seatKeyboard_, &keyboardListener, this);
    }
}

void SeatVirtualKeyboard::takeSeatKeymap(int fd, std::uint32_t size) {
    void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (mapped == MAP_FAILED) {
        return;
    }
    const std::string text(static_cast<const char*>(mapped), strnlen(static_cast<const char*>(mapped), size));
    munmap(mapped, size);
    // Only the first keymap is taken. Every later one may be our own upload coming back, or sway's default
    // layout set on our keyboard, and answering those feeds a keymap exchange without end; a key is read by
    // the keymap of the keyboard that sent it, so ours needs no other.
    if (keymap_ != nullptr) {
        otherKeymapSeen_ = otherKeymapSeen_ || text != ownKeymap_;
        return;
    }
    adoptKeymap(text);
}

void SeatVirtualKeyboard::adoptKeymap(const std::string& seatKeymap) {
    xkb_keymap* keymap = xkb_keymap_new_from_string(context_, seatKeymap.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                    XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == nullptr || !findKeycodes(keymap)) {
        // A layout without Latin letters has no "v": a US keymap of our own types Ctrl+V on any desktop.
        xkb_keymap_unref(keymap);
        const xkb_rule_names us = {"evdev", "pc105", "us", "", ""};
        keymap = xkb_keymap_new_from_names(context_, &us, XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (keymap == nullptr || !findKeycodes(keymap)) {
            xkb_keymap_unref(keymap);
            return;
        }
    }
    const std::unique_ptr<char, decltype(&free)> text(
        xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1), &free);
    ownKeymap_ = text ? text.get() : "";
    keymap_ = keymap;
    upload(ownKeymap_);
}

bool SeatVirtualKeyboard::findKeycodes(xkb_keymap* keymap) {
    keycodes_.clear();
    for (const Key key : {Key::Control, Key::V, Key::Tab, Key::Return, Key::A}) {
        const std::optional<xkb_keycode_t> code = keycodeOf(keymap, keysymOf(key));
        if (!code) {
            return false;
        }
        keycodes_[key] = *code - kXkbKeycodeOffset;
    }
    const xkb_mod_index_t control = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CTRL);
    controlMask_ = control == XKB_MOD_INVALID ? 0 : 1u << control;
    return true;
}

bool SeatVirtualKeyboard::upload(const std::string& keymap) {
    const int file = keymapFile(keymap);
    if (file < 0) {
        return false;
    }
    zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, file,
                                   static_cast<std::uint32_t>(keymap.size() + 1));
    ::close(file);
    otherKeymapSeen_ = false;
    return wl_display_flush(connection_->display()) >= 0;
}

bool SeatVirtualKeyboard::press(Key key) {
    // The compositor may have set a layout of its own on our keyboard since (sway does when its input
    // configuration is applied again): ours goes up once more before a chord, never in answer to the seat.
    if (otherKeymapSeen_ && key == Key::Control && !upload(ownKeymap_)) {
        return false;
    }
    return sendKey(key, true);
}

std::size_t SeatVirtualKeyboard::prepareToType(std::u32string_view text) {
    if (keymap_ == nullptr) {
        return 0;
    }
    const TypingKeymap typing = MakeTypingKeymap(ownKeymap_, keymap_, text);
    if (typing.ready == 0 || !upload(typing.text)) {
        return 0;
    }
    typingKeycodes_ = typing.keycodes;
    return typing.ready;
}

bool SeatVirtualKeyboard::typeCharacter(char32_t character) {
    const auto code = typingKeycodes_.find(character);
    if (code == typingKeycodes_.end()) {
        return false;
    }
    for (const auto state : {WL_KEYBOARD_KEY_STATE_PRESSED, WL_KEYBOARD_KEY_STATE_RELEASED}) {
        zwp_virtual_keyboard_v1_key(keyboard_, millisecondsNow(), code->second, state);
    }
    return wl_display_flush(connection_->display()) >= 0;
}

void SeatVirtualKeyboard::finishTyping() {
    if (!typingKeycodes_.empty()) {
        typingKeycodes_.clear();
        upload(ownKeymap_);
    }
}

bool SeatVirtualKeyboard::release(Key key) {
    return sendKey(key, false);
}

bool SeatVirtualKeyboard::sendKey(Key key, bool pressed) {
    const auto code = keycodes_.find(key);
    if (keymap_ == nullptr || code == keycodes_.end()) {
        return false;
    }
    zwp_virtual_keyboard_v1_key(keyboard_, millisecondsNow(), code->second,
                                pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    // The compositor tells windows the modifiers a keyboard reports, not what its keys would make them.
    if (key == Key::Control) {
        zwp_virtual_keyboard_v1_modifiers(keyboard_, pressed ? controlMask_ : 0, 0, 0, 0);
    }
    return wl_display_flush(connection_->display()) >= 0;
}
