#include "keymap_counter.h"

#include <poll.h>
#include <unistd.h>

#include <wayland-client.h>

#include <cstring>

namespace {

void announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto** seat = static_cast<wl_seat**>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && *seat == nullptr) {
        *seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
}
void removed(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {announced, removed};

void onKeymap(void* data, wl_keyboard*, uint32_t, int fd, uint32_t) {
    ::close(fd);
    static_cast<KeymapCounter*>(data)->takeKeymap();
}
void onEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void onLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void onKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener keyboardListener = {onKeymap, onEnter, onLeave, onKey, onModifiers, onRepeatInfo};

}  // namespace

KeymapCounter::KeymapCounter() {
    display_ = wl_display_connect(nullptr);
    if (display_ == nullptr) {
        return;
    }
    wl_registry* registry = wl_display_get_registry(display_);
    wl_registry_add_listener(registry, &registryListener, &seat_);
    wl_display_roundtrip(display_);
    wl_registry_destroy(registry);
    if (seat_ == nullptr) {
        return;
    }
    keyboard_ = wl_seat_get_keyboard(seat_);
    wl_keyboard_add_listener(keyboard_, &keyboardListener, this);
    wl_display_roundtrip(display_);
    count_ = 0;  // the keymap every new keyboard gets is not a change
    thread_ = std::thread([this] { serve(); });
}

KeymapCounter::~KeymapCounter() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (keyboard_ != nullptr) {
        wl_keyboard_destroy(keyboard_);
    }
    if (seat_ != nullptr) {
        wl_seat_destroy(seat_);
    }
    if (display_ != nullptr) {
        wl_display_disconnect(display_);
    }
}

void KeymapCounter::serve() {
    while (!stop_) {
        while (wl_display_prepare_read(display_) != 0) {
            wl_display_dispatch_pending(display_);
        }
        wl_display_flush(display_);
        pollfd file = {wl_display_get_fd(display_), POLLIN, 0};
        if (poll(&file, 1, 100) > 0) {
            if (wl_display_read_events(display_) < 0) {
                return;
            }
            wl_display_dispatch_pending(display_);
        } else {
            wl_display_cancel_read(display_);
        }
    }
}
