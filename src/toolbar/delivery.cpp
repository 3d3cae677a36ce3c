#include "toolbar/delivery.h"

#include "platform/key_input.h"
#include "platform/sleeper.h"
#include "toolbar/delivery_timing.h"

#include <optional>

namespace {

// Polls until the window holds the focus, for at most kActivationTimeout.
bool waitUntilActive(WindowOrder& windows, Sleeper& sleeper, WindowHandle window) {
    using namespace delivery_timing;
    for (milliseconds waited{0};; waited += kActivationPoll) {
        if (windows.isActive(window)) {
            return true;
        }
        if (waited >= kActivationTimeout) {
            return false;
        }
        sleeper.sleep(kActivationPoll);
    }
}

// Polls until the user has let go of every modifier key, for at most kModifierReleaseTimeout.
bool waitUntilModifiersReleased(KeyInput& keys, Sleeper& sleeper) {
    using namespace delivery_timing;
    for (milliseconds waited{0};; waited += kActivationPoll) {
        if (!keys.anyModifierHeld()) {
            return true;
        }
        if (waited >= kModifierReleaseTimeout) {
            return false;
        }
        sleeper.sleep(kActivationPoll);
    }
}

// The window below once it is active, or why there is none to send keys to.
struct ActiveTarget {
    WindowHandle window = 0;
    DeliveryResult failure = DeliveryResult::Sent;
    bool ok() const { return failure == DeliveryResult::Sent; }
};

// Finds the window below, asks for it to be activated, lets it settle, waits until it holds the focus and
// until no modifier key is held.
ActiveTarget activateWindowBelow(WindowHandle toolbar, const DeliveryPorts& ports,
                                 std::chrono::milliseconds settle) {
    const std::optional<WindowHandle> below = ports.windows.findWindowBelow(toolbar);
    if (!below) {
        return {0, DeliveryResult::NoWindowBelow};
    }
    ports.windows.activate(*below);
    if (settle.count() > 0) {
        ports.sleeper.sleep(settle);
    }
    if (!waitUntilActive(ports.windows, ports.sleeper, *below)) {
        return {*below, DeliveryResult::TargetNotActive};
    }
    if (!waitUntilModifiersReleased(ports.keys, ports.sleeper)) {
        return {*below, DeliveryResult::ModifiersHeld};
    }
    return {*below, DeliveryResult::Sent};
}

// Presses and releases one key; the release is sent even when the press fails.
bool tapKey(KeyInput& keys, Key key) {
    const bool pressed = keys.press(key);
    const bool released = keys.release(key);
    return pressed && released;
}

// Ctrl press, V press, Ctrl release, V release. V is not pressed without Ctrl, which would type a "v";
// both releases are always sent so that no key stays down.
bool pressCtrlV(KeyInput& keys) {
    const bool control = keys.press(Key::Control);
    const bool v = control && keys.press(Key::V);
    const bool controlReleased = keys.release(Key::Control);
    const bool vReleased = keys.release(Key::V);
    return control && v && controlReleased && vReleased;
}

Key afterPasteKey(const ToolbarSettings& settings) {
    return settings.AfterKey == 0 ? Key::Tab : Key::Return;
}

}  // namespace

std::string GetWindowBelowTitle(WindowOrder& windows, WindowHandle toolbar) {
    const std::optional<WindowHandle> below = windows.findWindowBelow(toolbar);
    return below ? windows.windowTitle(*below) : std::string();
}

DeliveryResult PasteIntoWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                    const DeliveryPorts& ports) {
    const ActiveTarget target = activateWindowBelow(toolbar, ports, delivery_timing::kPasteSettle);
    if (!target.ok()) {
        return target.failure;
    }
    if (!pressCtrlV(ports.keys)) {
        return DeliveryResult::KeyFailed;
    }
    if (settings.PasteAfter && !tapKey(ports.keys, afterPasteKey(settings))) {
        return DeliveryResult::KeyFailed;
    }
    // Once more after the keys, so the target keeps the foreground should anything have taken it meanwhile.
    ports.windows.activate(target.window);
    return DeliveryResult::Sent;
}

DeliveryResult PressNextKeyInWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                         const DeliveryPorts& ports) {
    const ActiveTarget target = activateWindowBelow(toolbar, ports, std::chrono::milliseconds{0});
    if (!target.ok()) {
        return target.failure;
    }
    return tapKey(ports.keys, settings.NextKey ? Key::Tab : Key::Return) ? DeliveryResult::Sent
                                                                         : DeliveryResult::KeyFailed;
}
