#include "toolbar/portal_route.h"

#include "platform/clipboard.h"
#include "platform/desktop_active_window.h"
#include "platform/log.h"
#include "platform/native_keyboard.h"
#include "platform/steady_clock.h"
#include "toolbar/clipboard_handoff.h"
#include "toolbar/delivery_steps.h"
#include "toolbar/delivery_timing.h"

#include <functional>
#include <string>
#include <vector>

namespace {

DeliveryResult logged(const char* action, DeliveryResult result, const DeliveryPorts& ports,
                      const std::string& detail = {}) {
    if (ports.log == nullptr) {
        return result;
    }
    std::string line = std::string(action) +
                       " into the native window with the keyboard focus: " + DeliveryResultName(result);
    const bool named = ports.desktopWindow != nullptr;
    if (result == DeliveryResult::Sent) {
        line += named
                    ? "; through the desktop's remote control and the compositor's own clipboard, while the "
                      "desktop named the same window active, which cannot tell whether a key is held on the "
                      "real keyboard"
                    : "; through the desktop's remote control, which cannot tell which window that is nor "
                      "whether a key is held on the real keyboard";
    } else if (result == DeliveryResult::FocusLost) {
        line += "; an X11 window took the focus (" + ports.windows.describe(ports.windows.activeWindow()) +
                ")" + (named ? " or the desktop named another window active" : "");
    }
    ports.log->write(LogCategory::Delivery, line + detail);
    return result;
}

std::string requestsDetail(const std::vector<ClipboardRequest>& requests) {
    return "; clipboard requests since it was set: " + DescribeClipboardRequests(requests);
}

DeliveryResult askWithDialog(const char* action, WindowHandle toolbar, const DeliveryPorts& ports) {
    NativeKeyboard& native = *ports.native;
    native.askConsent(toolbar);
    return logged(
        action,
        native.remembersConsent() ? DeliveryResult::ConsentAsked : DeliveryResult::ConsentAskedThisRun,
        ports);
}

// An allowance kept from an earlier run, or the session of a desktop that asks nothing, is started inside the
// click, so the first click of a run pastes.
// When that takes longer, the click says so and sends nothing: its answer never starts a late paste.
std::optional<DeliveryResult> restoreKeptConsent(const char* action, WindowHandle toolbar,
                                                 const DeliveryPorts& ports) {
    NativeKeyboard& native = *ports.native;
    native.askConsent(toolbar);
    native.waitServingEvents(delivery_timing::kConsentRestoreTimeout,
                             [&native] { return native.state() != NativeKeyboard::State::Asking; });
    switch (native.state()) {
        case NativeKeyboard::State::Ready:
            return std::nullopt;
        case NativeKeyboard::State::Asking:
            return logged(
                action,
                native.hasKeptConsent() ? DeliveryResult::ConsentResuming : DeliveryResult::SessionStarting,
                ports);
        case NativeKeyboard::State::NotAsked:
            // The service went away meanwhile and the allowance stays kept for the next click, as the
            // change's own notice says; asked again at once, it would ask a service that is not back yet.
            if (native.hasKeptConsent()) {
                return logged(action, DeliveryResult::SessionLost, ports);
            }
            // The desktop did not honour the kept allowance and dropped it: the dialog comes now.
            return askWithDialog(action, toolbar, ports);
        case NativeKeyboard::State::Refused:
            return logged(action, DeliveryResult::ConsentRefused, ports);
        case NativeKeyboard::State::Unavailable:
            return logged(action, DeliveryResult::RemoteControlGone, ports);
    }
    return std::nullopt;
}

// Nothing when the keys can go, or the result of a delivery that has to ask or wait for consent instead.
std::optional<DeliveryResult> consentStandsInTheWay(const char* action, WindowHandle toolbar,
                                                    const DeliveryPorts& ports) {
    NativeKeyboard& native = *ports.native;
    switch (native.state()) {
        case NativeKeyboard::State::NotAsked:
            // A desktop that starts the session without a dialog starts it inside this click, as a kept
            // allowance is restored.
            if (native.hasKeptConsent() || !native.asksConsentWithDialog()) {
                return restoreKeptConsent(action, toolbar, ports);
            }
            return askWithDialog(action, toolbar, ports);
        case NativeKeyboard::State::Asking:
            return logged(action, DeliveryResult::ConsentPending, ports);
        case NativeKeyboard::State::Refused:
            return logged(action, DeliveryResult::ConsentRefused, ports);
        case NativeKeyboard::State::Unavailable:
            return logged(action, DeliveryResult::RemoteControlGone, ports);
        case NativeKeyboard::State::Ready:
            break;
    }
    return std::nullopt;
}

using ActiveWindow = DesktopActiveWindow::Window;

// Where the desktop names its active window, the keys go only to the one named at the click, never to one of
// ours; nothing when that holds, else the result of a delivery that sends nothing.
std::optional<DeliveryResult> namedTargetStandsInTheWay(const char* action, const DeliveryPorts& ports,
                                                        std::optional<ActiveWindow>& target) {
    if (ports.desktopWindow == nullptr) {
        return std::nullopt;
    }
    target = ports.desktopWindow->activeWindow();
    if (!target) {
        return logged(action, DeliveryResult::NoActiveWindowNamed, ports);
    }
    if (target->ours) {
        return logged(action, DeliveryResult::ActiveWindowIsOurs, ports, "; " + target->description);
    }
    return std::nullopt;
}

// Before every key: no X11 window took the focus and, where the desktop names its active window, it is still
// the one named at the click. The desktop's word lags it a little: a window activated a moment ago may not be
// named yet.
std::function<bool()> stillTheTarget(const DeliveryPorts& ports, const std::optional<ActiveWindow>& target) {
    return [&ports, &target] {
        if (ports.windows.activeWindow() != WindowHandle{0}) {
            return false;
        }
        if (!target) {
            return true;
        }
        const std::optional<ActiveWindow> now = ports.desktopWindow->activeWindow();
        return now && now->id == target->id;
    };
}

// Nothing when the keys can go to the target: the desktop names one that is not ours, and its consent
// is given; else the result of a delivery that sends nothing.
std::optional<DeliveryResult> standsInTheWay(const char* action, WindowHandle toolbar,
                                             const DeliveryPorts& ports,
                                             std::optional<ActiveWindow>& target) {
    if (const auto named = namedTargetStandsInTheWay(action, ports, target)) {
        return named;
    }
    return consentStandsInTheWay(action, toolbar, ports);
}

std::string intoTarget(const std::optional<ActiveWindow>& target) {
    return target ? "; into " + target->description : std::string();
}

FetchWatch watchOf(Clipboard& clipboard, NativeKeyboard& native) {
    return {[&clipboard] { return clipboard.requestsSinceSet(); },
            [&native](std::chrono::milliseconds cap, const std::function<bool()>& done) {
                return native.waitServingEvents(cap, done);
            }};
}

}  // namespace

Route PortalRoute::route() const {
    return ports_.nativeClipboard != nullptr ? Route::KdePortal : Route::GnomePortal;
}

bool PortalRoute::available() {
    return ports_.native->state() != NativeKeyboard::State::Unavailable;
}

bool PortalRoute::nativeWindowInUse() {
    return ports_.windows.lastActiveWindow() == WindowHandle{0};
}

DeliveryResult PortalRoute::paste(PasteKeys keys, WindowHandle toolbar) {
    if (!nativeWindowInUse()) {
        return windowBelow_.paste(keys, toolbar);
    }
    std::optional<ActiveWindow> target;
    if (const auto held = standsInTheWay("paste", toolbar, ports_, target)) {
        return *held;
    }
    NativeKeyboard& native = *ports_.native;
    const SendChord send = [&](std::initializer_list<Key> chord) {
        return DeliveryResultOf(native.keys().sendChord(chord, stillTheTarget(ports_, target)));
    };
    if (ports_.nativeClipboard != nullptr) {
        // KDE Plasma: the text goes on the compositor's own clipboard, which it holds as soon as it has
        // handled the request (the round trip of setText); only then do the keys go, by the portal.
        Clipboard& nativeClipboard = *ports_.nativeClipboard;
        std::optional<std::string> text;
        if (ClipboardStillOurs(ports_)) {
            text = ports_.clipboard->text();
        }
        if (!text || !nativeClipboard.setText(*text) || !nativeClipboard.ownsText()) {
            return logged("paste", DeliveryResult::ClipboardNotOwned, ports_, intoTarget(target));
        }
        const FetchWatch watch = watchOf(nativeClipboard, native);
        const std::size_t seenBeforePaste = RequestsBeforePaste(watch, managerReads_);
        const PasteOutcome pasted = CtrlVThenKey(keys, send, &watch, seenBeforePaste, ports_.clock);
        const std::string fetched = pasted.fetchedAfter.empty() ? requestsDetail(watch.requests())
                                                                : "; the window fetched the text " +
                                                                      pasted.fetchedAfter + " after Ctrl+V";
        return logged("paste", pasted.result, ports_, intoTarget(target) + fetched);
    }
    // GNOME: until the compositor holds the new clipboard, a Ctrl+V pastes the previous owner's text.
    const FetchWatch watch = watchOf(*ports_.clipboard, native);
    const SteadyClock::time_point begin = ports_.clock.now();
    const bool taken = watch.waitServingEvents(delivery_timing::kCompositorTakeTimeout, [&] {
        return !ClipboardStillOurs(ports_) || CompositorTookClipboard(watch.requests());
    });
    if (!ClipboardStillOurs(ports_)) {
        return logged("paste", DeliveryResult::ClipboardNotOwned, ports_);
    }
    if (!taken) {
        return logged("paste", DeliveryResult::CompositorDidNotTake, ports_,
                      requestsDetail(watch.requests()));
    }
    const std::string takenAfter =
        "; the compositor held the clipboard after " + MillisecondsSince(begin, ports_.clock);
    const PasteOutcome pasted = CtrlVThenKey(keys, send, &watch, watch.requests().size(), ports_.clock);
    const std::string fetched = pasted.fetchedAfter.empty() ? requestsDetail(watch.requests())
                                                            : ", the window fetched the text " +
                                                                  pasted.fetchedAfter + " after Ctrl+V";
    return logged("paste", pasted.result, ports_, takenAfter + fetched);
}

DeliveryResult PortalRoute::pressKey(Key key, WindowHandle toolbar) {
    if (!nativeWindowInUse()) {
        return windowBelow_.pressKey(key, toolbar);
    }
    std::optional<ActiveWindow> target;
    if (const auto held = standsInTheWay("next", toolbar, ports_, target)) {
        return *held;
    }
    return logged("next",
                  DeliveryResultOf(ports_.native->keys().sendChord({key}, stillTheTarget(ports_, target))),
                  ports_, intoTarget(target));
}

TypingOutcome PortalRoute::type(std::u32string_view text, std::optional<Key> after, WindowHandle toolbar) {
    if (!nativeWindowInUse()) {
        return windowBelow_.type(text, after, toolbar);
    }
    return DeliveryRoute::type(text, after, toolbar);
}
