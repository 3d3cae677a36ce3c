#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// A headless KWin (KDE Plasma's compositor) with Xwayland in a D-Bus session of its own, and KDE's desktop
// portal on that bus (xdg-desktop-portal-kde behind the xdg-desktop-portal frontend), for the life of this
// object. Debian's kwin_wayland carries a file capability that exec refuses in a container: a copy without
// it runs. Everything it starts is one process group, ended when this goes; KWin also exits when the test
// process ends.
class KWinSession {
  public:
    KWinSession();
    ~KWinSession();
    KWinSession(const KWinSession&) = delete;
    KWinSession& operator=(const KWinSession&) = delete;

    bool ready() const { return failure_.empty(); }
    // Why the session did not start, with the end of its output.
    const std::string& failure() const { return failure_; }
    // From the start until KWin, Xwayland and the portal were up.
    std::chrono::milliseconds startupTime() const { return startupTime_; }

    const std::string& busAddress() const { return busAddress_; }

    // Makes this process a client of the session: its environment as a program in the session would have it.
    void exportEnvironment() const;

    // The interfaces of the Wayland globals KWin offers an ordinary client.
    std::vector<std::string> waylandGlobals() const;
    // Has KWin activate the window with this caption, through a KWin script of the test's own; false when
    // the script could not be loaded and run. Needs the environment exported and a Qt application.
    bool activate(const std::string& caption);
    // The end of KWin's and the portal's output, for a failure message.
    std::string diagnostics() const;

  private:
    void start();

    std::string runtimeDir_;
    std::string waylandDisplay_;
    std::string busAddress_;
    std::string failure_;
    std::chrono::milliseconds startupTime_{0};
    std::vector<std::string> environment_;
    pid_t group_ = -1;
    int activations_ = 0;
};
