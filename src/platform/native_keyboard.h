#pragma once

#include "platform/key_input.h"
#include "platform/window_order.h"

#include <chrono>
#include <functional>

// Keys typed into the native window of a Wayland session that holds the keyboard focus, a window the X
// server cannot see. They go through the desktop's remote-control service, which asks the user's consent
// first; which window receives them is the compositor's choice.
class NativeKeyboard {
  public:
    enum class State {
        Unavailable,  // this desktop offers no such way, or it failed: the toolbar only copies
        NotAsked,     // the user has not been asked yet in this run
        Asking,       // the consent dialog is open
        Ready,        // allowed: keys can be sent
        Refused,      // the user said no; asked again at the next run
    };

    virtual ~NativeKeyboard() = default;

    // Finds out on first use whether the desktop offers the service at all.
    virtual State state() = 0;
    // True when an allowance is kept for later runs, false when the desktop asks again at every run.
    virtual bool remembersConsent() = 0;
    // Opens the consent dialog for the toolbar's window; the answer comes later, through the listener.
    virtual void askConsent(WindowHandle toolbar) = 0;
    // Told every change of state the user did not just cause by a click: the dialog answered, the session
    // ended by the desktop (back to NotAsked), the service failing (Unavailable). Runs on the UI thread.
    virtual void setStateListener(std::function<void(State)> listener) = 0;

    // The keys, once Ready. Whether a modifier is held on the real keyboard cannot be seen: never reported.
    virtual KeyInput& keys() = 0;
    // Waits while the program goes on answering the window system: the native window fetches the pasted
    // text from this program's clipboard during the wait.
    virtual void waitServingClipboard(std::chrono::milliseconds duration) = 0;
};
