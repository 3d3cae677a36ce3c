#include "toolbar/seat_delivery.h"

#include "data/sjis.h"
#include "platform/clipboard.h"
#include "platform/log.h"
#include "platform/seat_keyboard.h"
#include "platform/steady_clock.h"
#include "platform/window_order.h"
#include "toolbar/clipboard_handoff.h"
#include "toolbar/delivery_timing.h"

#include <string>

namespace {

using Window = SeatKeyboard::Window;

std::string millisecondsSince(SteadyClock::time_point from, const DeliveryPorts& ports) {
    return std::to_string(
               std::chrono::duration_cast<std::chrono::milliseconds>(ports.clock.now() - from).count()) +
           " ms";
}

// One delivery through the seat: the window it aims at and the log line of its outcome.
class SeatDelivery {
  public:
    SeatDelivery(const char* action, const DeliveryPorts& ports)
        : action_(action), ports_(ports), seat_(*ports.seat), begin_(ports.clock.now()) {}

    // Activates the window the user was last in and waits until the compositor says it is. In a Wayland
    // session the X server names the X11 window the user was last in, or none while a native window had the
    // focus: an X11 window must be the same one the compositor names.
    DeliveryResult activateUserWindow() {
        const std::optional<Window> window = seat_.lastUserWindow();
        if (!window) {
            return finish(DeliveryResult::NoWindowBelow, "; the compositor named no window the user was in");
        }
        target_ = *window;
        // The click gave the toolbar, an X11 window, the keyboard: until the window is activated again, the X
        // server sees a modifier the user still holds (the Shift of a Shift+click), which would turn Ctrl+V
        // into another shortcut.
        const bool modifiersLetGo = seat_.waitServingEvents(
            delivery_timing::kModifierReleaseTimeout, [this] { return !ports_.keys.anyModifierHeld(); });
        seat_.activate(target_.id);
        if (!modifiersLetGo) {
            return finish(DeliveryResult::ModifiersHeld);
        }
        const std::optional<WindowHandle> x11Window = ports_.windows.lastActiveWindow();
        native_ = !x11Window || *x11Window == WindowHandle{0};
        if (!native_ && ports_.windows.windowTitle(*x11Window) != sjis::fromUtf8(target_.title)) {
            return finish(DeliveryResult::NotLastActive,
                          "; the X11 window last active is another: " + ports_.windows.describe(*x11Window));
        }
        // Each look after a round trip: the compositor's word from before the click would still say so.
        if (!seat_.waitServingEvents(delivery_timing::kSeatActivationTimeout,
                                     [this] { return seat_.isActivated(target_.id, true); })) {
            return finish(DeliveryResult::TargetNotActive);
        }
        activatedAfter_ = millisecondsSince(begin_, ports_);
        return DeliveryResult::Sent;
    }

    // Another program may have taken the clipboard since: a Ctrl+V would paste its text.
    DeliveryResult checkClipboardStillOurs() {
        if (!ClipboardStillOurs(ports_)) {
            return finish(DeliveryResult::ClipboardNotOwned);
        }
        return DeliveryResult::Sent;
    }

    // The keys, each after a round trip that shows the window still activated.
    DeliveryResult sendChord(std::initializer_list<Key> chord) {
        return DeliveryResultOf(
            seat_.keys().sendChord(chord, [this] { return seat_.isActivated(target_.id, true); }));
    }

    // The window fetched the text through the compositor since the first `seen` requests.
    bool waitForFetch(std::size_t seen) {
        const bool fetched = seat_.waitServingEvents(
            delivery_timing::kPasteFetchTimeout, [this, seen] { return PasteFetchedText(requests(), seen); });
        fetchedAfter_ = fetched ? millisecondsSince(begin_, ports_) : std::string();
        return fetched;
    }

    std::vector<ClipboardRequest> requests() const {
        return ports_.clipboard != nullptr ? ports_.clipboard->requestsSinceSet()
                                           : std::vector<ClipboardRequest>{};
    }

    DeliveryResult finish(DeliveryResult result, std::string detail = {}) {
        if (ports_.log == nullptr) {
            return result;
        }
        std::string line = std::string(action_) +
                           " through the compositor's seat (foreign-toplevel, virtual "
                           "keyboard)";
        if (target_.id != 0) {
            line += " into the " + std::string(native_ ? "native" : "X11") + " window \"" + target_.title +
                    "\" (" + target_.appId + ")";
        }
        line += ": " + std::string(DeliveryResultName(result));
        if (!activatedAfter_.empty()) {
            line += "; activated after " + activatedAfter_;
        }
        if (!fetchedAfter_.empty()) {
            line += ", the text fetched after " + fetchedAfter_;
        }
        if (result == DeliveryResult::PasteUnconfirmed || result == DeliveryResult::PasteNotFetched) {
            detail += "; clipboard requests since it was set: " + DescribeClipboardRequests(requests());
        }
        ports_.log->write(LogCategory::Delivery, line + detail);
        return result;
    }

  private:
    const char* action_;
    const DeliveryPorts& ports_;
    SeatKeyboard& seat_;
    SteadyClock::time_point begin_;
    Window target_;
    bool native_ = true;
    std::string activatedAfter_;
    std::string fetchedAfter_;
};

}  // namespace

DeliveryResult PasteThroughSeat(std::optional<Key> after, const DeliveryPorts& ports) {
    SeatDelivery delivery("paste", ports);
    // The window first, so that every outcome gives the keyboard back to it.
    if (const DeliveryResult activated = delivery.activateUserWindow(); activated != DeliveryResult::Sent) {
        return activated;
    }
    if (const DeliveryResult owned = delivery.checkClipboardStillOurs(); owned != DeliveryResult::Sent) {
        return owned;
    }
    // A clipboard manager reads every new text at once: only a read after the Ctrl+V is the window's.
    const std::size_t seenBeforePaste = delivery.requests().size();
    const DeliveryResult pasted = delivery.sendChord({Key::Control, Key::V});
    if (pasted != DeliveryResult::Sent) {
        return delivery.finish(pasted);
    }
    // The compositor shows every read of its clipboard: a Ctrl+V that no window took (a keymap the window
    // did not know it by, say) is told to the user, with or without a key to follow.
    if (!delivery.waitForFetch(seenBeforePaste)) {
        return delivery.finish(after ? DeliveryResult::PasteUnconfirmed : DeliveryResult::PasteNotFetched);
    }
    return delivery.finish(after ? delivery.sendChord({*after}) : DeliveryResult::Sent);
}

DeliveryResult PressKeyThroughSeat(Key key, const DeliveryPorts& ports) {
    SeatDelivery delivery("next", ports);
    if (const DeliveryResult activated = delivery.activateUserWindow(); activated != DeliveryResult::Sent) {
        return activated;
    }
    return delivery.finish(delivery.sendChord({key}));
}

void GiveKeyboardBackThroughSeat(const DeliveryPorts& ports) {
    if (const std::optional<Window> window = ports.seat->lastUserWindow()) {
        ports.seat->activate(window->id);
    }
}
