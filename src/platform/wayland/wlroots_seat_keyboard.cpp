#include "platform/wayland/wlroots_seat_keyboard.h"

#include "platform/log.h"
#include "platform/qt/serve_events.h"
#include "platform/wayland/wayland_connection.h"

std::optional<WlrootsSeatKeyboard::Services> WlrootsSeatKeyboard::open(
    std::shared_ptr<WaylandConnection> connection, ForeignToplevels::IsOwnWindow isOwn, Log* log) {
    std::unique_ptr<WlrootsSeatKeyboard> seat(new WlrootsSeatKeyboard);
    seat->connection_ = connection;
    seat->toplevels_ = ForeignToplevels::open(connection, std::move(isOwn));
    std::unique_ptr<Clipboard> clipboard = DataControlClipboard::open(connection);
    seat->keys_ = SeatVirtualKeyboard::open(connection);
    const bool complete = seat->toplevels_ && clipboard && seat->keys_ && seat->keys_->ready();
    if (log != nullptr) {
        log->write(LogCategory::Delivery,
                   "Wayland compositor offers: " + connection->describeGlobals() +
                       (seat->keys_ && !seat->keys_->ready() ? "; the seat has no keyboard keymap" : "") +
                       (complete ? "; windows are activated and typed into through the compositor's seat"
                                 : "; not every piece for the compositor's seat: native windows get only the "
                                   "clipboard unless the desktop's remote control serves them"));
    }
    if (!complete) {
        return std::nullopt;
    }
    return Services{std::move(seat), std::move(clipboard)};
}

bool WlrootsSeatKeyboard::isActivated(WindowId window, bool roundTrip) {
    if (roundTrip && !connection_->roundTrip()) {
        return false;
    }
    return toplevels_->isActivated(window);
}

bool WlrootsSeatKeyboard::waitServingEvents(std::chrono::milliseconds cap,
                                            const std::function<bool()>& done) {
    return ServeEventsUntil(cap, done);
}
