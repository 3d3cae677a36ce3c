#include "platform/wayland/wayland_connection.h"

#include "platform/wayland/data_control_interfaces.h"

#include "ext-data-control-v1-client-protocol.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

const DataControlInterfaces kExtDataControl = {
    &ext_data_control_manager_v1_interface, &ext_data_control_source_v1_interface,
    &ext_data_control_device_v1_interface, &ext_data_control_offer_v1_interface};
const DataControlInterfaces kWlrDataControl = {
    &zwlr_data_control_manager_v1_interface, &zwlr_data_control_source_v1_interface,
    &zwlr_data_control_device_v1_interface, &zwlr_data_control_offer_v1_interface};

namespace {

wl_proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface,
               std::uint32_t offered, std::uint32_t wanted) {
    return static_cast<wl_proxy*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

void onSeatCapabilities(void* data, wl_seat*, std::uint32_t capabilities) {
    auto& globals = *static_cast<WaylandConnection::Globals*>(data);
    globals.seatCapabilities = capabilities;
    if (globals.seatCapabilitiesChanged) {
        globals.seatCapabilitiesChanged(capabilities);
    }
}
void onSeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener seatListener = {onSeatCapabilities, onSeatName};

void announced(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
               std::uint32_t version) {
    auto& globals = *static_cast<WaylandConnection::Globals*>(data);
    const auto is = [interface](const wl_interface& known) {
        return std::strcmp(interface, known.name) == 0;
    };
    if (is(wl_seat_interface) && globals.seat == nullptr) {
        // The first seat is the user's: desktops with several seats give each its own session.
        globals.seat = reinterpret_cast<wl_seat*>(bind(registry, name, wl_seat_interface, version, 5));
        wl_seat_add_listener(globals.seat, &seatListener, &globals);
    } else if (is(ext_data_control_manager_v1_interface)) {
        if (globals.dataControl != nullptr) {
            wl_proxy_destroy(globals.dataControl);
        }
        globals.dataControl = bind(registry, name, ext_data_control_manager_v1_interface, version, 1);
        globals.dataControlInterfaces = &kExtDataControl;
    } else if (is(zwlr_data_control_manager_v1_interface) && globals.dataControl == nullptr) {
        globals.dataControl = bind(registry, name, zwlr_data_control_manager_v1_interface, version, 1);
        globals.dataControlInterfaces = &kWlrDataControl;
    } else if (std::strcmp(interface, "zwlr_foreign_toplevel_manager_v1") == 0) {
        globals.toplevelsName = name;
        globals.toplevelsVersion = version;
    } else if (is(zwp_virtual_keyboard_manager_v1_interface)) {
        globals.virtualKeyboards =
            bind(registry, name, zwp_virtual_keyboard_manager_v1_interface, version, 1);
    }
}

void removed(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener registryListener = {announced, removed};

}  // namespace

std::shared_ptr<WaylandConnection> WaylandConnection::open() {
    // Without both, libwayland would fall back to a default socket name: not necessarily this session's.
    const char* name = std::getenv("WAYLAND_DISPLAY");
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (name == nullptr || *name == '\0' || runtimeDir == nullptr || *runtimeDir == '\0') {
        return nullptr;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    std::shared_ptr<WaylandConnection> connection(new WaylandConnection(display));
    connection->registry_ = wl_display_get_registry(display);
    wl_registry_add_listener(connection->registry_, &registryListener, &connection->globals_);
    // The globals, then what the seat tells of itself.
    if (!connection->roundTrip() || !connection->roundTrip()) {
        return nullptr;
    }
    return connection;
}

WaylandConnection::~WaylandConnection() {
    for (wl_proxy* global : {globals_.dataControl, globals_.virtualKeyboards}) {
        if (global != nullptr) {
            wl_proxy_destroy(global);
        }
    }
    if (globals_.seat != nullptr) {
        wl_seat_destroy(globals_.seat);
    }
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
    wl_display_disconnect(display_);
}

std::string WaylandConnection::describeGlobals() const {
    std::string line = "seat " + std::string(globals_.seat != nullptr ? "yes" : "no");
    line += ", data-control ";
    line += globals_.dataControl == nullptr                      ? "no"
            : globals_.dataControlInterfaces == &kExtDataControl ? "ext_data_control_v1"
                                                                 : "zwlr_data_control_v1";
    line += ", foreign-toplevel " + std::string(globals_.toplevelsName != 0 ? "yes" : "no");
    line += ", virtual keyboard " + std::string(globals_.virtualKeyboards != nullptr ? "yes" : "no");
    return line;
}

int WaylandConnection::fileDescriptor() const {
    return wl_display_get_fd(display_);
}

bool WaylandConnection::takePendingEvents() {
    return dispatchWithin(std::chrono::milliseconds{0}, [] { return false; });
}

// Runs the handlers of what has been read already; unless that made done() true, waits up to the cap for
// more from the compositor, reads it and runs its handlers. False once the connection is broken.
bool WaylandConnection::dispatchWithin(std::chrono::milliseconds cap, const std::function<bool()>& done) {
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0) {
            return false;
        }
    }
    wl_display_flush(display_);
    pollfd readable{wl_display_get_fd(display_), POLLIN, 0};
    if (done() || poll(&readable, 1, static_cast<int>(cap.count())) <= 0) {
        wl_display_cancel_read(display_);
        return true;
    }
    return wl_display_read_events(display_) >= 0 && wl_display_dispatch_pending(display_) >= 0;
}

namespace {

// The answer to one round trip. A round trip that gave up leaves it to the callback, which comes later.
struct SyncAnswer {
    bool answered = false;
    bool abandoned = false;
};

void onSyncDone(void* data, wl_callback* callback, std::uint32_t) {
    auto* answer = static_cast<SyncAnswer*>(data);
    wl_callback_destroy(callback);
    if (answer->abandoned) {
        delete answer;
        return;
    }
    answer->answered = true;
}

const wl_callback_listener syncListener = {onSyncDone};

}  // namespace

bool WaylandConnection::roundTrip(std::chrono::milliseconds cap) {
    auto* answer = new SyncAnswer;
    wl_callback* callback = wl_display_sync(display_);
    wl_callback_add_listener(callback, &syncListener, answer);
    const auto deadline = std::chrono::steady_clock::now() + cap;
    const auto isAnswered = [answer] { return answer->answered; };
    while (!isAnswered()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !dispatchWithin(left, isAnswered)) {
            break;
        }
    }
    const bool answered = answer->answered;
    if (answered) {
        delete answer;
    } else {
        answer->abandoned = true;  // its callback frees it, if it ever comes
    }
    return answered;
}
