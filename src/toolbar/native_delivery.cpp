#include "toolbar/native_delivery.h"

#include "platform/clipboard.h"
#include "platform/desktop_active_window.h"
#include "platform/log.h"
#include "platform/native_keyboard.h"
#include "platform/steady_clock.h"
#include "toolbar/clipboard_handoff.h"
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

std::vector<ClipboardRequest> requestsSeen(const DeliveryPorts& ports) {
    return ports.clipboard == nullptr ? std::vector<ClipboardRequest>{} : ports.clipboard->requestsSinceSet();
}

std::string requestsDetail(const DeliveryPorts& ports) {
    return "; clipboard requests since it was set: " + DescribeClipboardRequests(requestsSeen(ports));
}

std::string millisecondsSince(SteadyClock::time_point from, SteadyClock::time_point to) {
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count()) + " ms";
}

}  // namespace

bool GoesToNativeWindow(const DeliveryPorts& ports) {
    return ports.native != nullptr && ports.windows.isWaylandSession() &&
           ports.windows.lastActiveWindow() == WindowHandle{0} &&
           ports.native->state() != NativeKeyboard::State::Unavailable;
}

namespace {

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
            return logged(action, DeliveryResult::NotLastActive, ports);
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
            return logged(action, DeliveryResult::NotLastActive, ports);
        case NativeKeyboard::State::Ready:
            break;
    }
    return std::nullopt;
}

// The user may have clicked into an X11 window since: keys would go there, unchecked.
std::function<bool()> noX11WindowActive(const DeliveryPorts& ports) {
    return [&ports] { return ports.windows.activeWindow() == WindowHandle{0}; };
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
        return logged(action, DeliveryResult::NotLastActive, ports, "; the desktop names no active window");
    }
    if (target->ours) {
        return logged(action, DeliveryResult::NotLastActive, ports,
                      "; the active window is one of ours: " + target->description);
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

std::string intoTarget(const std::optional<ActiveWindow>& target) {
    return target ? "; into " + target->description : std::string();
}

// KDE Plasma: the text goes on the compositor's own clipboard, which it holds as soon as it has handled the
// request (the round trip of setText); only then do the keys go, by the portal.
DeliveryResult pasteThroughNativeClipboard(std::optional<Key> after,
                                           const std::optional<ActiveWindow>& target,
                                           const DeliveryPorts& ports) {
    Clipboard& nativeClipboard = *ports.nativeClipboard;
    std::optional<std::string> text;
    if (ClipboardStillOurs(ports)) {
        text = ports.clipboard->text();
    }
    if (!text || !nativeClipboard.setText(*text)) {
        return logged("paste", DeliveryResult::ClipboardNotOwned, ports, intoTarget(target));
    }
    const SteadyClock::time_point begin = ports.clock.now();
    // A clipboard manager reads every new text at once: only a read after the Ctrl+V is the window's.
    const std::size_t seenBeforePaste = nativeClipboard.requestsSinceSet().size();
    if (!nativeClipboard.ownsText()) {
        return logged("paste", DeliveryResult::ClipboardNotOwned, ports, intoTarget(target));
    }
    NativeKeyboard& native = *ports.native;
    const DeliveryResult pasted =
        DeliveryResultOf(native.keys().sendChord({Key::Control, Key::V}, stillTheTarget(ports, target)));
    if (pasted != DeliveryResult::Sent || !after) {
        return logged("paste", pasted, ports, intoTarget(target));
    }
    if (!native.waitServingEvents(delivery_timing::kPasteFetchTimeout, [&] {
            return PasteFetchedText(nativeClipboard.requestsSinceSet(), seenBeforePaste);
        })) {
        return logged("paste", DeliveryResult::PasteUnconfirmed, ports,
                      intoTarget(target) + "; clipboard requests since it was set: " +
                          DescribeClipboardRequests(nativeClipboard.requestsSinceSet()));
    }
    const std::string fetchedAfter =
        "; the window fetched the text " + millisecondsSince(begin, ports.clock.now()) + " after it was set";
    return logged("paste", DeliveryResultOf(native.keys().sendChord({*after}, stillTheTarget(ports, target))),
                  ports, intoTarget(target) + fetchedAfter);
}

}  // namespace

DeliveryResult PasteIntoNativeWindow(std::optional<Key> after, WindowHandle toolbar,
                                     const DeliveryPorts& ports) {
    std::optional<ActiveWindow> target;
    if (const auto named = namedTargetStandsInTheWay("paste", ports, target)) {
        return *named;
    }
    if (const auto held = consentStandsInTheWay("paste", toolbar, ports)) {
        return *held;
    }
    if (ports.nativeClipboard != nullptr) {
        return pasteThroughNativeClipboard(after, target, ports);
    }
    NativeKeyboard& native = *ports.native;
    const SteadyClock::time_point begin = ports.clock.now();
    // Until the compositor holds the new clipboard, a Ctrl+V pastes the previous owner's text.
    const bool taken = native.waitServingEvents(delivery_timing::kCompositorTakeTimeout, [&ports] {
        return !ClipboardStillOurs(ports) || CompositorTookClipboard(requestsSeen(ports));
    });
    if (!ClipboardStillOurs(ports)) {
        return logged("paste", DeliveryResult::ClipboardNotOwned, ports);
    }
    if (!taken) {
        return logged("paste", DeliveryResult::CompositorDidNotTake, ports, requestsDetail(ports));
    }
    const std::size_t seenBeforePaste = requestsSeen(ports).size();
    const SteadyClock::time_point takenAt = ports.clock.now();
    const std::string takenAfter =
        "; the compositor held the clipboard after " + millisecondsSince(begin, takenAt);
    const DeliveryResult pasted =
        DeliveryResultOf(native.keys().sendChord({Key::Control, Key::V}, noX11WindowActive(ports)));
    if (pasted != DeliveryResult::Sent || !after) {
        return logged("paste", pasted, ports, takenAfter);
    }
    // TAB or ENTER only once the window fetched the text: sent at once, it could move the focus before the
    // text arrives, or follow a paste that went nowhere (ENTER in a terminal runs what is on its line).
    if (!native.waitServingEvents(delivery_timing::kPasteFetchTimeout,
                                  [&] { return PasteFetchedText(requestsSeen(ports), seenBeforePaste); })) {
        return logged("paste", DeliveryResult::PasteUnconfirmed, ports, requestsDetail(ports));
    }
    const std::string fetchedAfter =
        ", the window fetched the text " + millisecondsSince(takenAt, ports.clock.now()) + " after that";
    return logged("paste", DeliveryResultOf(native.keys().sendChord({*after}, noX11WindowActive(ports))),
                  ports, takenAfter + fetchedAfter);
}

DeliveryResult PressKeyInNativeWindow(Key key, WindowHandle toolbar, const DeliveryPorts& ports) {
    std::optional<ActiveWindow> target;
    if (const auto named = namedTargetStandsInTheWay("next", ports, target)) {
        return *named;
    }
    if (const auto held = consentStandsInTheWay("next", toolbar, ports)) {
        return *held;
    }
    return logged("next",
                  DeliveryResultOf(ports.native->keys().sendChord({key}, stillTheTarget(ports, target))),
                  ports, intoTarget(target));
}
