#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct wl_display;
struct wl_proxy;
struct wl_registry;
struct wl_seat;
struct wl_interface;

// A connection of our own to the Wayland compositor, beside the toolkit's X11 one, with the globals the
// delivery uses. Closed when the last user lets go of it.
class WaylandConnection {
  public:
    // The globals bound at start; null where the compositor does not offer them.
    struct Globals {
        wl_seat* seat = nullptr;
        wl_proxy* dataControl = nullptr;  // ext_data_control_v1's manager, else wlroots' one
        const struct DataControlInterfaces* dataControlInterfaces = nullptr;
        // wlroots' foreign-toplevel manager, bound by its user: it names every window as soon as it is bound.
        std::uint32_t toplevelsName = 0;
        std::uint32_t toplevelsVersion = 0;
        wl_proxy* virtualKeyboards = nullptr;
        std::uint32_t seatCapabilities = 0;  // as the seat told them last
        // Told when the seat's capabilities change (a keyboard plugged in or taken away).
        std::function<void(std::uint32_t)> seatCapabilitiesChanged;
    };

    // Nothing where WAYLAND_DISPLAY and XDG_RUNTIME_DIR do not lead to a compositor.
    static std::shared_ptr<WaylandConnection> open();

    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* display() const { return display_; }
    wl_registry* registry() const { return registry_; }
    const Globals& globals() const { return globals_; }
    Globals& globals() { return globals_; }
    // What the compositor offers, for the log: which of the globals above were found.
    std::string describeGlobals() const;

    // The socket: readable when the compositor has sent events, for the program's event loop.
    int fileDescriptor() const;
    // Reads what has arrived and runs its handlers; false once the connection is broken.
    bool takePendingEvents();
    // Sends what is queued and waits until the compositor has handled it, running the handlers of every
    // event it sent meanwhile; false once the connection is broken, or when the compositor did not answer
    // within the cap (a stalled compositor must not freeze the toolbar).
    bool roundTrip(std::chrono::milliseconds cap = std::chrono::milliseconds{1000});

  private:
    explicit WaylandConnection(wl_display* display) : display_(display) {}
    bool dispatchWithin(std::chrono::milliseconds cap, const std::function<bool()>& done);
    wl_display* display_;
    wl_registry* registry_ = nullptr;
    Globals globals_;
};
