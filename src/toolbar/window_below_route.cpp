#include "toolbar/window_below_route.h"

#include "platform/log.h"
#include "platform/sleeper.h"
#include "platform/steady_clock.h"
#include "toolbar/delivery_steps.h"
#include "toolbar/delivery_timing.h"

#include <string>

namespace {

// Polls until done() is true, for at most the timeout by the clock: a platform's sleep may last longer than
// asked for.
template <typename Done>
bool pollUntil(const DeliveryPorts& ports, std::chrono::milliseconds timeout, Done done) {
    const SteadyClock::time_point deadline = ports.clock.now() + timeout;
    while (!done()) {
        if (ports.clock.now() >= deadline) {
            return false;
        }
        ports.sleeper.sleep(delivery_timing::kActivationPoll);
    }
    return true;
}

// One delivery: the window it aims at and the log line of its outcome.
class Delivery {
  public:
    Delivery(const char* action, const DeliveryPorts& ports) : action_(action), ports_(ports) {}

    // Finds the window below and, in a Wayland session, makes sure the user was working in it; then asks for
    // it to be activated, lets it settle, waits until it holds the focus and until no modifier key is held.
    DeliveryResult activateWindowBelow(WindowHandle toolbar, std::chrono::milliseconds settle) {
        const std::optional<WindowHandle> below = ports_.windows.findWindowBelow(toolbar);
        if (!below) {
            return finish(DeliveryResult::NoWindowBelow);
        }
        target_ = *below;
        if (ports_.windows.isWaylandSession()) {
            const std::optional<WindowHandle> last = ports_.windows.lastActiveWindow();
            if (last != target_) {
                return finish(DeliveryResult::NotLastActive, last.value_or(0));
            }
        }
        ports_.windows.activate(target_);
        if (settle.count() > 0) {
            ports_.sleeper.sleep(settle);
        }
        if (!pollUntil(ports_, delivery_timing::kActivationTimeout,
                       [this] { return ports_.windows.isActive(target_); })) {
            return abandon(DeliveryResult::TargetNotActive);
        }
        if (!pollUntil(ports_, delivery_timing::kModifierReleaseTimeout,
                       [this] { return !ports_.keys.anyModifierHeld(); })) {
            return abandon(DeliveryResult::ModifiersHeld);
        }
        return DeliveryResult::Sent;
    }

    // Another program may have taken the clipboard since the click put our text there: a Ctrl+V would paste
    // its text instead, so nothing is sent and the focus goes back.
    DeliveryResult checkClipboardStillOurs() {
        if (!ClipboardStillOurs(ports_)) {
            return abandon(DeliveryResult::ClipboardNotOwned);
        }
        return DeliveryResult::Sent;
    }

    // Sends the chord while the target still holds the focus; see KeyInput::sendChord.
    DeliveryResult sendChord(std::initializer_list<Key> chord) {
        return DeliveryResultOf(
            ports_.keys.sendChord(chord, [this] { return ports_.windows.isActive(target_); }));
    }

    WindowHandle target() const { return target_; }

    // Once more after the keys, but only when something else took the foreground meanwhile: a request for a
    // window already in front would take the foreground from a dialog the keys just opened in it, and on
    // Windows, where the right to the foreground is gone once the target had input, it only flashes the
    // target's task-bar button.
    void bringBackToFront() {
        if (!ports_.windows.isInFront(target_)) {
            ports_.windows.activate(target_);
        }
    }

    // Logs the outcome, naming the window aimed at and the one found active.
    DeliveryResult finish(DeliveryResult result, const std::string& detail = {}) {
        return finish(result, target_ == 0 ? 0 : ports_.windows.activeWindow(), detail);
    }

    DeliveryResult finish(DeliveryResult result, WindowHandle found, const std::string& detail = {}) {
        if (ports_.log == nullptr) {
            return result;
        }
        std::string line = std::string(action_) + ": " + DeliveryResultName(result) + detail;
        if (target_ != 0) {
            line += "; expected " + ports_.windows.describe(target_);
            line += ", found " + (found == 0 ? std::string("none (or a window X11 cannot see)")
                                             : ports_.windows.describe(found));
        }
        ports_.log->write(LogCategory::Delivery, line);
        return result;
    }

  private:
    // Nothing was sent: the focus goes back where it was before the activation.
    DeliveryResult abandon(DeliveryResult result) {
        const WindowHandle found = ports_.windows.activeWindow();
        ports_.windows.undoActivation(target_);
        return finish(result, found);
    }

    const char* action_;
    const DeliveryPorts& ports_;
    WindowHandle target_ = 0;
};

}  // namespace

DeliveryResult WindowBelowRoute::paste(PasteKeys keys, WindowHandle toolbar) {
    Delivery delivery("paste", ports_);
    const DeliveryResult activated = delivery.activateWindowBelow(toolbar, delivery_timing::kPasteSettle);
    if (activated != DeliveryResult::Sent) {
        return activated;
    }
    if (const DeliveryResult owned = delivery.checkClipboardStillOurs(); owned != DeliveryResult::Sent) {
        return owned;
    }
    const PasteOutcome pasted = CtrlVThenKey(
        keys, [&delivery](std::initializer_list<Key> chord) { return delivery.sendChord(chord); }, nullptr, 0,
        ports_.clock);
    if (pasted.result == DeliveryResult::Sent) {
        delivery.bringBackToFront();
    }
    return delivery.finish(pasted.result);
}

TypingOutcome WindowBelowRoute::type(std::u32string_view text, std::optional<Key> after,
                                     WindowHandle toolbar) {
    Delivery delivery("type", ports_);
    TypingOutcome outcome{delivery.activateWindowBelow(toolbar, delivery_timing::kPasteSettle), 0,
                          text.size()};
    if (outcome.result != DeliveryResult::Sent) {
        return outcome;
    }
    outcome = TypeCharacters(
        text, ports_.keys, [&] { return ports_.windows.isActive(delivery.target()); }, ports_.sleeper,
        DateFieldsMoveOnTheirOwn(ports_.windows.windowClass(delivery.target())));
    // Keys into an input method that stays on would end in its composition: the text goes by Ctrl+V.
    if (outcome.typed == 0 && ports_.keys.typingHeldBackByInputMethod()) {
        if (const DeliveryResult owned = delivery.checkClipboardStillOurs(); owned != DeliveryResult::Sent) {
            return {owned, 0, text.size(), true};
        }
        const PasteOutcome pasted = CtrlVThenKey(
            {after, false},
            [&delivery](std::initializer_list<Key> chord) { return delivery.sendChord(chord); }, nullptr, 0,
            ports_.clock);
        if (pasted.result == DeliveryResult::Sent) {
            delivery.bringBackToFront();
        }
        const DeliveryResult result =
            pasted.result == DeliveryResult::Sent ? DeliveryResult::PastedForInputMethod : pasted.result;
        return {delivery.finish(result), 0, text.size(), true};
    }
    if (outcome.result == DeliveryResult::Sent && after) {
        outcome.result = delivery.sendChord({*after});
    }
    if (outcome.result == DeliveryResult::Sent) {
        delivery.bringBackToFront();
    }
    delivery.finish(outcome.result, "; typed " + std::to_string(outcome.typed) + " of " +
                                        std::to_string(text.size()) + " characters");
    return outcome;
}

DeliveryResult WindowBelowRoute::pressKey(Key key, WindowHandle toolbar) {
    Delivery delivery("next", ports_);
    const DeliveryResult activated = delivery.activateWindowBelow(toolbar, std::chrono::milliseconds{0});
    if (activated != DeliveryResult::Sent) {
        return activated;
    }
    return delivery.finish(delivery.sendChord({key}));
}
