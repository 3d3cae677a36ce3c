#include "toolbar/native_delivery.h"

#include "platform/log.h"
#include "platform/native_keyboard.h"
#include "toolbar/delivery_timing.h"

#include <functional>
#include <string>

namespace {

DeliveryResult logged(const char* action, DeliveryResult result, const DeliveryPorts& ports) {
    if (ports.log == nullptr) {
        return result;
    }
    std::string line = std::string(action) +
                       " into the native window with the keyboard focus: " + DeliveryResultName(result);
    if (result == DeliveryResult::Sent) {
        line +=
            "; through the desktop's remote control, which cannot tell which window that is nor whether "
            "a key is held on the real keyboard";
    } else if (result == DeliveryResult::FocusLost) {
        line += "; an X11 window took the focus: " + ports.windows.describe(ports.windows.activeWindow());
    }
    ports.log->write(LogCategory::Delivery, line);
    return result;
}

}  // namespace

bool GoesToNativeWindow(const DeliveryPorts& ports) {
    return ports.native != nullptr && ports.windows.isWaylandSession() &&
           ports.windows.lastActiveWindow() == WindowHandle{0} &&
           ports.native->state() != NativeKeyboard::State::Unavailable;
}

namespace {

// Nothing when the keys can go, or the result of a delivery that has to ask or wait for consent instead.
std::optional<DeliveryResult> consentStandsInTheWay(const char* action, WindowHandle toolbar,
                                                    const DeliveryPorts& ports) {
    NativeKeyboard& native = *ports.native;
    switch (native.state()) {
        case NativeKeyboard::State::NotAsked:
            native.askConsent(toolbar);
            return logged(action,
                          native.remembersConsent() ? DeliveryResult::ConsentAsked
                                                    : DeliveryResult::ConsentAskedThisRun,
                          ports);
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

}  // namespace

DeliveryResult PasteIntoNativeWindow(std::optional<Key> after, WindowHandle toolbar,
                                     const DeliveryPorts& ports) {
    if (const auto held = consentStandsInTheWay("paste", toolbar, ports)) {
        return *held;
    }
    NativeKeyboard& native = *ports.native;
    native.waitServingClipboard(delivery_timing::kNativeClipboardSettle);
    DeliveryResult result =
        DeliveryResultOf(native.keys().sendChord({Key::Control, Key::V}, noX11WindowActive(ports)));
    if (result == DeliveryResult::Sent && after) {
        native.waitServingClipboard(delivery_timing::kNativePasteSettle);
        result = DeliveryResultOf(native.keys().sendChord({*after}, noX11WindowActive(ports)));
    }
    return logged("paste", result, ports);
}

DeliveryResult PressKeyInNativeWindow(Key key, WindowHandle toolbar, const DeliveryPorts& ports) {
    if (const auto held = consentStandsInTheWay("next", toolbar, ports)) {
        return *held;
    }
    return logged("next", DeliveryResultOf(ports.native->keys().sendChord({key}, noX11WindowActive(ports))),
                  ports);
}
