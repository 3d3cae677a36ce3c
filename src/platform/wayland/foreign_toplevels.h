#pragma once

#include "platform/seat_keyboard.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class WaylandConnection;
struct zwlr_foreign_toplevel_handle_v1;

// The compositor's windows as wlroots' foreign-toplevel protocol names them, and the one the user was last
// in that is not this program's.
class ForeignToplevels {
  public:
    // Whether a window (app id, title) is one of this program's.
    using IsOwnWindow = std::function<bool(const std::string& appId, const std::string& title)>;

    // Nothing where the compositor does not offer the protocol or a seat.
    static std::unique_ptr<ForeignToplevels> open(std::shared_ptr<WaylandConnection> connection,
                                                  IsOwnWindow isOwn);
    ~ForeignToplevels();
    ForeignToplevels(const ForeignToplevels&) = delete;
    ForeignToplevels& operator=(const ForeignToplevels&) = delete;

    std::optional<SeatKeyboard::Window> lastUserWindow() const;
    void activate(SeatKeyboard::WindowId window);
    // As of the events taken so far.
    bool isActivated(SeatKeyboard::WindowId window) const;

    // For the handlers of the protocol's events.
    struct Toplevel;

  private:
    ForeignToplevels(std::shared_ptr<WaylandConnection> connection, IsOwnWindow isOwn);
    const Toplevel* find(SeatKeyboard::WindowId window) const;

    static void onToplevel(void* data, struct zwlr_foreign_toplevel_manager_v1* manager,
                           zwlr_foreign_toplevel_handle_v1* handle);
    static void onFinished(void* data, struct zwlr_foreign_toplevel_manager_v1* manager);
    static void onDone(void* data, zwlr_foreign_toplevel_handle_v1* handle);
    static void onClosed(void* data, zwlr_foreign_toplevel_handle_v1* handle);

    std::shared_ptr<WaylandConnection> connection_;
    struct zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    IsOwnWindow isOwn_;
    std::map<zwlr_foreign_toplevel_handle_v1*, std::unique_ptr<Toplevel>> toplevels_;
    SeatKeyboard::WindowId nextId_ = 1;
    SeatKeyboard::WindowId lastUser_ = 0;
    bool finished_ = false;
};
