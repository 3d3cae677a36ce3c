#pragma once

#include <sys/types.h>

#include <string>

// A headless Wayland compositor (mutter) with Xwayland, in a D-Bus session of its own, for the life of this
// object. Everything it starts is one process group, ended when this goes.
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

  private:
    void start();
    void stop();

    std::string runtimeDir_;
    std::string x11Display_;
    std::string waylandDisplay_;
    std::string busAddress_;
    std::string xauthority_;
    std::string failure_;
    pid_t group_ = -1;
};
