#pragma once

#include "platform/sleeper.h"

// Waits on the calling thread while still answering messages that other threads and programs send to its
// windows: a program reading the clipboard we own (WM_RENDERFORMAT), a broadcast such as WM_SETTINGCHANGE,
// or the session's end. Their senders would otherwise hang until the wait is over.
//
// Re-entry: only sent messages are handled during the wait. Posted messages (clicks, keys, menu commands,
// timers, paint) stay queued until the message loop takes them, so no click on the toolbar can start a
// second delivery inside the first. A handler that runs meanwhile must leave the delivery alone: the
// session's end (WM_QUERYENDSESSION, WM_ENDSESSION) may write the settings and answer, but must not destroy
// the toolbar or end the process from inside the wait; the keys are sent only after the wait, in one call
// that holds their releases too, so an end that comes anyway leaves no key down.
class Win32MessageSleeper : public Sleeper {
  public:
    void sleep(std::chrono::milliseconds duration) override;
};
