#pragma once

#include <optional>
#include <string>

// The window the desktop has active, where the desktop names it to programs (KWin, through a script of ours).
// Its word lags the desktop a little: a window activated a moment ago may not be named yet.
class DesktopActiveWindow {
  public:
    struct Window {
        std::string id;           // the same for the window's whole life
        std::string description;  // UTF-8, for the log
        bool ours = false;        // one of this program's own windows
    };
    virtual ~DesktopActiveWindow() = default;
    // Nothing while the desktop names none or cannot be asked.
    virtual std::optional<Window> activeWindow() = 0;
};
