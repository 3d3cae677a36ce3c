#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A headless Wayland compositor (mutter) with Xwayland, in a D-Bus session of its own, for the life of this
// object. Everything it starts is one process group, ended when this goes (the group is not a session of its
// own, so that the test process can add programs to it).
class WaylandSession {
  public:
    WaylandSession();
    ~WaylandSession();
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    bool ready() const { return failure_.empty(); }
    // Why the compositor did not start, with the end of its output.
    const std::string& failure() const { return failure_; }

    // The session's runtime folder and what a client of the session needs in its environment.
    const std::string& runtimeDir() const { return runtimeDir_; }
    const std::string& x11Display() const { return x11Display_; }
    const std::string& waylandDisplay() const { return waylandDisplay_; }
    const std::string& busAddress() const { return busAddress_; }
    const std::string& xauthority() const { return xauthority_; }

    // Makes this process a client of the session: its environment as a program in the session would have it.
    void exportEnvironment() const;

    // Starts a program in the session's process group, with the session's environment plus the extra entries
    // ("NAME=value"), its output going to the log file; -1 when it cannot. It ends with the session at the
    // latest.
    pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnvironment,
                const std::string& logFile) const;

  private:
    void start();
    void stop();

    std::string runtimeDir_;
    std::string x11Display_;
    std::string waylandDisplay_;
    std::string busAddress_;
    std::string xauthority_;
    std::string failure_;
    std::vector<std::string> environment_;
    pid_t group_ = -1;
};
