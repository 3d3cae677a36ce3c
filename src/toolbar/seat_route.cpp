#include "toolbar/seat_route.h"

#include "data/sjis.h"
#include "platform/clipboard.h"
#include "platform/log.h"
#include "platform/seat_keyboard.h"
#include "platform/steady_clock.h"
#include "toolbar/clipboard_handoff.h"
#include "toolbar/delivery_steps.h"
#include "toolbar/delivery_timing.h"

#include <string>

namespace {

using Window = SeatKeyboard::Window;

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
            return finish(DeliveryResult::WindowsDisagree,
                          "; the X11 window last active is another: " + ports_.windows.describe(*x11Window));
        }
        // Each look after a round trip: the compositor's word from before the click would still say so.
        if (!seat_.waitServingEvents(delivery_timing::kSeatActivationTimeout,
                                     [this] { return seat_.isActivated(target_.id, true); })) {
            return finish(DeliveryResult::TargetNotActive);
        }
        activatedAfter_ = MillisecondsSince(begin_, ports_.clock);
        return DeliveryResult::Sent;
    }

    // The keys, each after a round trip that shows the window still activated.
    bool stillActivated() { return seat_.isActivated(target_.id, true); }
    const std::string& targetAppId() const { return target_.appId; }
    DeliveryResult sendChord(std::initializer_list<Key> chord) {
        return DeliveryResultOf(seat_.keys().sendChord(chord, [this] { return stillActivated(); }));
    }

    FetchWatch watch() const {
        return {[this] {
                    return ports_.clipboard != nullptr ? ports_.clipboard->requestsSinceSet()
                                                       : std::vector<ClipboardRequest>{};
                },
                [this](std::chrono::milliseconds cap, const std::function<bool()>& done) {
                    return seat_.waitServingEvents(cap, done);
                }};
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
            line += ", the text fetched " + fetchedAfter_ + " after Ctrl+V";
        }
        if (result == DeliveryResult::PasteUnconfirmed || result == DeliveryResult::PasteNotFetched) {
            detail +=
                "; clipboard requests since it was set: " + DescribeClipboardRequests(watch().requests());
        }
        ports_.log->write(LogCategory::Delivery, line + detail);
        return result;
    }

    void fetched(std::string after) { fetchedAfter_ = std::move(after); }

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

DeliveryResult SeatRoute::paste(PasteKeys keys, WindowHandle) {
    SeatDelivery delivery("paste", ports_);
    // The window first, so that every outcome gives the keyboard back to it.
    if (const DeliveryResult activated = delivery.activateUserWindow(); activated != DeliveryResult::Sent) {
        return activated;
    }
    if (!ClipboardStillOurs(ports_)) {
        return delivery.finish(DeliveryResult::ClipboardNotOwned);
    }
    const FetchWatch watch = delivery.watch();
    const std::size_t seenBeforePaste = RequestsBeforePaste(watch, managerReads_);
    const PasteOutcome pasted = CtrlVThenKey(
        keys, [&delivery](std::initializer_list<Key> chord) { return delivery.sendChord(chord); }, &watch,
        seenBeforePaste, ports_.clock);
    delivery.fetched(pasted.fetchedAfter);
    return delivery.finish(pasted.result);
}

TypingOutcome SeatRoute::type(std::u32string_view text, std::optional<Key> after, WindowHandle) {
    SeatDelivery delivery("type", ports_);
    if (const DeliveryResult activated = delivery.activateUserWindow(); activated != DeliveryResult::Sent) {
        return {activated, 0, text.size()};
    }
    TypingOutcome outcome = TypeCharacters(
        text, ports_.seat->keys(), [&delivery] { return delivery.stillActivated(); }, ports_.sleeper,
        DateFieldsMoveOnTheirOwn(delivery.targetAppId()));
    if (outcome.result == DeliveryResult::Sent && after) {
        outcome.result = delivery.sendChord({*after});
    }
    delivery.finish(outcome.result, "; typed " + std::to_string(outcome.typed) + " of " +
                                        std::to_string(text.size()) + " characters");
    return outcome;
}

DeliveryResult SeatRoute::pressKey(Key key, WindowHandle) {
    SeatDelivery delivery("next", ports_);
    if (const DeliveryResult activated = delivery.activateUserWindow(); activated != DeliveryResult::Sent) {
        return activated;
    }
    return delivery.finish(delivery.sendChord({key}));
}

void SeatRoute::giveKeyboardBack() {
    if (const std::optional<Window> window = ports_.seat->lastUserWindow()) {
        ports_.seat->activate(window->id);
    }
}
