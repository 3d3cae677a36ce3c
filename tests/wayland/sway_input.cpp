#include "sway_input.h"

#include "sway_session.h"

#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cstring>
#include <memory>

namespace {

// The requests of wlroots' virtual pointer and virtual keyboard protocols, in their published order (a
// request's index is its opcode), written from the published interfaces. Only requests, no events.
const wl_interface* noTypes[5] = {};

const wl_message virtualPointerRequests[] = {
    {"motion", "uff", noTypes},   {"motion_absolute", "uuuuu", noTypes},
    {"button", "uuu", noTypes},   {"axis", "uuf", noTypes},
    {"frame", "", noTypes},       {"axis_source", "u", noTypes},
    {"axis_stop", "uu", noTypes}, {"axis_discrete", "uufi", noTypes},
    {"destroy", "", noTypes}};
const wl_interface virtualPointerInterface = {"zwlr_virtual_pointer_v1", 1, 9,
                                              virtualPointerRequests,    0, nullptr};
constexpr uint32_t kMotionAbsolute = 1;
constexpr uint32_t kButton = 2;
constexpr uint32_t kFrame = 4;
constexpr uint32_t kDestroyVirtualPointer = 8;

const wl_interface* createPointerTypes[] = {&wl_seat_interface, &virtualPointerInterface};
const wl_message pointerManagerRequests[] = {{"create_virtual_pointer", "?on", createPointerTypes},
                                             {"destroy", "", noTypes}};
const wl_interface pointerManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, pointerManagerRequests, 0, nullptr};
constexpr uint32_t kCreateVirtualPointer = 0;
constexpr uint32_t kDestroyPointerManager = 1;

const wl_message virtualKeyboardRequests[] = {{"keymap", "uhu", noTypes},
                                              {"key", "uuu", noTypes},
                                              {"modifiers", "uuuu", noTypes},
                                              {"destroy", "", noTypes}};
const wl_interface virtualKeyboardInterface = {"zwp_virtual_keyboard_v1", 1, 4,
                                               virtualKeyboardRequests,   0, nullptr};
constexpr uint32_t kKeymap = 0;
constexpr uint32_t kKey = 1;
constexpr uint32_t kDestroyVirtualKeyboard = 3;

const wl_interface* createKeyboardTypes[] = {&wl_seat_interface, &virtualKeyboardInterface};
const wl_message keyboardManagerRequests[] = {{"create_virtual_keyboard", "on", createKeyboardTypes}};
const wl_interface keyboardManagerInterface = {"zwp_virtual_keyboard_manager_v1", 1, 1,
                                               keyboardManagerRequests,           0, nullptr};
constexpr uint32_t kCreateVirtualKeyboard = 0;

constexpr uint32_t kLeftButton = 0x110;    // BTN_LEFT of linux/input-event-codes.h
constexpr uint32_t kXkbKeycodeOffset = 8;  // an xkb keycode is the evdev one plus 8

struct Globals {
    wl_proxy* seat = nullptr;
    wl_proxy* pointerManager = nullptr;
    wl_proxy* keyboardManager = nullptr;
};

void announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    const auto bind = [&](const wl_interface& wanted) {
        return static_cast<wl_proxy*>(wl_registry_bind(registry, name, &wanted, 1));
    };
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
        globals->seat = bind(wl_seat_interface);
    } else if (std::strcmp(interface, pointerManagerInterface.name) == 0) {
        globals->pointerManager = bind(pointerManagerInterface);
    } else if (std::strcmp(interface, keyboardManagerInterface.name) == 0) {
        globals->keyboardManager = bind(keyboardManagerInterface);
    }
}

void removed(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {announced, removed};

uint32_t timestamp() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

SwayInput::SwayInput(const SwaySession& session) {
    display_ = wl_display_connect(session.waylandDisplay().c_str());
    if (display_ == nullptr) {
        failure_ = "cannot connect to the compositor";
        return;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &registryListener, &globals);
    wl_display_roundtrip(display_);
    wl_registry_destroy(registry);
    seat_ = globals.seat;
    pointerManager_ = globals.pointerManager;
    keyboardManager_ = globals.keyboardManager;
    if (seat_ == nullptr || pointerManager_ == nullptr || keyboardManager_ == nullptr) {
        failure_ = "the compositor offers no virtual pointer or keyboard";
        return;
    }

    pointer_ = wl_proxy_marshal_flags(pointerManager_, kCreateVirtualPointer, &virtualPointerInterface, 1, 0,
                                      seat_, nullptr);
    keyboard_ = wl_proxy_marshal_flags(keyboardManager_, kCreateVirtualKeyboard, &virtualKeyboardInterface, 1,
                                       0, seat_, nullptr);
    context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (context_ == nullptr) {
        failure_ = "no keymap";
        return;
    }
    if (!useLayout("us")) {
        return;
    }
    if (wl_display_roundtrip(display_) < 0) {
        failure_ = "the compositor refused the virtual pointer or keyboard";
    }
}

bool SwayInput::useLayout(const char* layout) {
    const xkb_rule_names names = {"evdev", "pc105", layout, "", ""};
    xkb_keymap* keymap = xkb_keymap_new_from_names(context_, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == nullptr) {
        failure_ = QString("no keymap for the layout ") + layout;
        return false;
    }
    if (keymap_ != nullptr) {
        xkb_keymap_unref(keymap_);
    }
    keymap_ = keymap;
    const std::unique_ptr<char, decltype(&free)> text(
        xkb_keymap_get_as_string(keymap_, XKB_KEYMAP_FORMAT_TEXT_V1), &free);
    const size_t size = std::strlen(text.get()) + 1;
    const int file = memfd_create("zenporo-test-keymap", MFD_CLOEXEC);
    const bool written = file >= 0 && write(file, text.get(), size) == ssize_t(size);
    if (written) {
        wl_proxy_marshal_flags(keyboard_, kKeymap, nullptr, 1, 0, uint32_t(WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1),
                               file, uint32_t(size));
    } else {
        failure_ = "cannot hand the keymap over";
    }
    if (file >= 0) {
        close(file);  // the request carries a copy
    }
    return written && flush();
}

SwayInput::~SwayInput() {
    if (keyboard_ != nullptr) {
        wl_proxy_marshal_flags(keyboard_, kDestroyVirtualKeyboard, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    }
    if (pointer_ != nullptr) {
        wl_proxy_marshal_flags(pointer_, kDestroyVirtualPointer, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    }
    if (pointerManager_ != nullptr) {
        wl_proxy_marshal_flags(pointerManager_, kDestroyPointerManager, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    }
    for (wl_proxy* proxy : {keyboardManager_, seat_}) {
        if (proxy != nullptr) {
            wl_proxy_destroy(proxy);
        }
    }
    if (keymap_ != nullptr) {
        xkb_keymap_unref(keymap_);
    }
    if (context_ != nullptr) {
        xkb_context_unref(context_);
    }
    if (display_ != nullptr) {
        wl_display_disconnect(display_);
    }
}

bool SwayInput::moveTo(QPoint point) {
    // Xwayland learns of a window under a pointer that has only just come over it at the second motion.
    for (const QPoint to : {point - QPoint(1, 0), point}) {
        wl_proxy_marshal_flags(pointer_, kMotionAbsolute, nullptr, 1, 0, timestamp(), uint32_t(to.x()),
                               uint32_t(to.y()), uint32_t(SwaySession::kScreenWidth),
                               uint32_t(SwaySession::kScreenHeight));
        wl_proxy_marshal_flags(pointer_, kFrame, nullptr, 1, 0);
    }
    return flush();
}

bool SwayInput::click(QPoint point) {
    if (!moveTo(point)) {
        return false;
    }
    for (const uint32_t state : {WL_POINTER_BUTTON_STATE_PRESSED, WL_POINTER_BUTTON_STATE_RELEASED}) {
        wl_proxy_marshal_flags(pointer_, kButton, nullptr, 1, 0, timestamp(), kLeftButton, state);
        wl_proxy_marshal_flags(pointer_, kFrame, nullptr, 1, 0);
    }
    return flush();
}

bool SwayInput::tapKey(std::uint32_t keysym) {
    return holdKey(keysym, true) && holdKey(keysym, false);
}

bool SwayInput::holdKey(std::uint32_t keysym, bool down) {
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap_); code <= xkb_keymap_max_keycode(keymap_);
         ++code) {
        const xkb_keysym_t* symbols = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap_, code, 0, 0, &symbols);
        if (count == 1 && symbols[0] == keysym) {
            return sendKey(code - kXkbKeycodeOffset, down);
        }
    }
    failure_ = QString("no key for keysym 0x%1").arg(keysym, 0, 16);
    return false;
}

bool SwayInput::sendKey(std::uint32_t key, bool pressed) {
    wl_proxy_marshal_flags(
        keyboard_, kKey, nullptr, 1, 0, timestamp(), key,
        uint32_t(pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED));
    return flush();
}

bool SwayInput::flush() {
    if (wl_display_flush(display_) < 0) {
        failure_ = "the compositor connection broke";
        return false;
    }
    return true;
}
