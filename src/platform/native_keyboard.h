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
        NotAsked,     // the user has not been asked yet in this run, or the session ended
        Asking,       // the consent dialog is open, or a kept allowance is being restored
        Ready,        // allowed: keys can be sent
        Refused,      // the user said no; asked again at the next run
    };

    // A change the user did not just cause by a click, told to the listener.
    enum class Change {
        Allowed,           // the dialog was answered yes, or a kept allowance restored: Ready
        Refused,           // the dialog was answered no: Refused for the rest of the run
        EndedByDesktop,    // the user ended the session in the desktop: the allowance is forgotten, NotAsked
        ServiceRestarted,  // the desktop's service restarted or lost the session: NotAsked, allowance kept
        NotHonoured,       // the desktop no longer honours the kept allowance: NotAsked, the next ask shows
                           // the dialog
        Failed,            // the service failed: Unavailable for the rest of the run
        Hung,              // the service stopped answering: Unavailable until it restarts
    };

    virtual ~NativeKeyboard() = default;

    // Where the service is still being looked for (it is, from the start, without blocking), waits for the
    // answer.
    virtual State state() = 0;
    // True when the desktop keeps an allowance for later runs, false when it asks again at every run.
    virtual bool remembersConsent() = 0;
    // True when an allowance given in an earlier run is kept: asking restores it without a dialog.
    virtual bool hasKeptConsent() = 0;
    // False where the desktop starts its remote control without a dialog (KDE Plasma 5), so the session can
    // start inside the click that needs it.
    virtual bool asksConsentWithDialog() { return true; }
    // Opens the consent dialog for the toolbar's window, or restores a kept allowance; the answer comes
    // later, through the listener.
    virtual void askConsent(WindowHandle toolbar) = 0;
    // Told every change the user did not just cause by a click. Runs on the UI thread.
    virtual void setChangeListener(std::function<void(Change)> listener) = 0;

    // The keys, once Ready. Whether a modifier is held on the real keyboard cannot be seen: never reported.
    virtual KeyInput& keys() = 0;
    // Waits while the program goes on answering the window system and the desktop's service (clicks and
    // keys of the user stay queued) until done() is true, for at most the cap; false when the cap ran out.
    // The native window fetches the pasted text from this program's clipboard during such a wait.
    virtual bool waitServingEvents(std::chrono::milliseconds cap, const std::function<bool()>& done) = 0;
};
