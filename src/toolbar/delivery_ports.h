#pragma once

#include "platform/key_input.h"

class Clipboard;
class DesktopActiveWindow;
class Log;
class NativeKeyboard;
class SeatKeyboard;
class Sleeper;
class SteadyClock;
class WindowOrder;

// What the delivery needs of the window system; which of the optional services are set decides the route
// (delivery_routes.h, the one place that reads them so). Every result is written to the log when there is
// one.
struct DeliveryPorts {
    WindowOrder& windows;
    KeyInput& keys;
    Sleeper& sleeper;
    SteadyClock& clock;  // every wait keeps a deadline on it
    Log* log = nullptr;
    // Keys for the native window the user types in, in a Wayland session that offers them; null elsewhere.
    NativeKeyboard* native = nullptr;
    // The clipboard the pasted text was put on, asked whether it is still ours right before Ctrl+V; null
    // where the caller set none.
    Clipboard* clipboard = nullptr;
    // Where the compositor lets a program activate windows and type into them through its seat (wlroots);
    // null elsewhere.
    SeatKeyboard* seat = nullptr;
    // Where native windows paste the compositor's own clipboard rather than the X11 one (KDE Plasma), that
    // clipboard, and the desktop's word on which window is active; both null elsewhere.
    Clipboard* nativeClipboard = nullptr;
    DesktopActiveWindow* desktopWindow = nullptr;
};

// How a delivery ended; every result but Sent is told to the user by a short notice.
enum class DeliveryResult {
    Sent,                 // every key event was sent to the window below
    NoWindowBelow,        // no window lies below the toolbar: nothing was sent
    TargetNotActive,      // the window below did not become active in time: nothing was sent
    ModifiersHeld,        // the user kept holding a modifier key: nothing was sent
    KeyFailed,            // a key press could not be sent; every key pressed was still released
    NotLastActive,        // Wayland session: the window below is not the X11 window the user last worked in
                          // (a native Wayland window had the focus): nothing was activated or sent
    RemoteControlGone,    // the desktop's remote control went away during the click: nothing was sent
    NoActiveWindowNamed,  // the desktop named no active window to send to: nothing was sent
    ActiveWindowIsOurs,   // the window the desktop names active is one of ours: nothing was sent
    WindowsDisagree,      // the X server's last active window is not the one the compositor names: nothing
                          // was sent
    FocusLost,  // the target lost the focus between two keys: nothing more was sent, every key released
    ClipboardNotOwned,  // another program holds the clipboard, not our text: nothing was sent
    // A native Wayland window has the keyboard focus and the desktop's consent is needed first:
    ConsentAsked,          // the consent dialog was opened now, and an allowance is kept for later runs
    ConsentAskedThisRun,   // the same, where the desktop asks again at every run
    ConsentResuming,       // an allowance kept from before is being restored, not yet in time for this click
    SessionStarting,       // a desktop that asks nothing is still starting its remote control for this click
    ConsentPending,        // the dialog is still open
    ConsentRefused,        // the user said no in this run
    SessionLost,           // the desktop's remote control went away while this click restored it
    CompositorDidNotTake,  // the compositor did not take the new clipboard in time: nothing was sent
    PasteUnconfirmed,      // Ctrl+V went out but no program fetched the text: no TAB or ENTER after it
    PasteNotFetched,       // the same where no key was to follow: the paste may have gone nowhere
    PastedForInputMethod,  // a typed text was pasted: the target's input method was on and stayed on
};

// A short English name of the result, for the log.
const char* DeliveryResultName(DeliveryResult result);
// The delivery's result of a chord sent.
DeliveryResult DeliveryResultOf(ChordResult result);
// Whether the clipboard still holds our text (or there is none to ask): a Ctrl+V would paste another
// program's text otherwise.
bool ClipboardStillOurs(const DeliveryPorts& ports);
