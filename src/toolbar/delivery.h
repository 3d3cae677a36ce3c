#pragma once

#include "platform/key_input.h"
#include "platform/window_order.h"
#include "settings/toolbar_settings.h"

#include <string>

class Log;
class NativeKeyboard;
class Sleeper;

// What the delivery needs of the window system. Every result is written to the log when there is one.
struct DeliveryPorts {
    WindowOrder& windows;
    KeyInput& keys;
    Sleeper& sleeper;
    Log* log = nullptr;
    // Keys for the native window the user types in, in a Wayland session that offers them; null elsewhere.
    NativeKeyboard* native = nullptr;
};

// How a delivery ended; every result but Sent is told to the user by a short notice.
enum class DeliveryResult {
    Sent,             // every key event was sent to the window below
    NoWindowBelow,    // no window lies below the toolbar: nothing was sent
    TargetNotActive,  // the window below did not become active in time: nothing was sent
    ModifiersHeld,    // the user kept holding a modifier key: nothing was sent
    KeyFailed,        // a key press could not be sent; every key pressed was still released
    NotLastActive,    // Wayland session: the window below is not the X11 window the user last worked in
                      // (a native Wayland window had the focus): nothing was activated or sent
    FocusLost,        // the target lost the focus between two keys: nothing more was sent, every key released
    // A native Wayland window has the keyboard focus and the desktop's consent is needed first:
    ConsentAsked,         // the consent dialog was opened now, and an allowance is kept for later runs
    ConsentAskedThisRun,  // the same, where the desktop asks again at every run
    ConsentPending,       // the dialog is still open
    ConsentRefused,       // the user said no in this run
};

// A short English name of the result, for the log.
const char* DeliveryResultName(DeliveryResult result);
// The delivery's result of a chord sent.
DeliveryResult DeliveryResultOf(ChordResult result);

// The title of the window below the toolbar (Shift-JIS); empty when there is none.
std::string GetWindowBelowTitle(WindowOrder& windows, WindowHandle toolbar);

// Pastes the clipboard into the window below the toolbar with Ctrl+V, then presses TAB or ENTER when
// PasteAfter is on. The keys go to the window found, by its id, and only once it is active; each key press
// only while it still is. In a Wayland session only the X11 window the user last worked in is a target; when
// the user was last in a native window, the keys go to that window through ports.native, once allowed.
DeliveryResult PasteIntoWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                    const DeliveryPorts& ports);

// The Next button: TAB when NextKey is true, ENTER otherwise, in the window below the toolbar.
DeliveryResult PressNextKeyInWindowBelow(const ToolbarSettings& settings, WindowHandle toolbar,
                                         const DeliveryPorts& ports);
