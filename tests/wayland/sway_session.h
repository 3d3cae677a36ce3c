#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A headless sway (wlroots) compositor with Xwayland, for the life of this object, as the user's own session
// would be: sway's IPC to steer it, Xwayland behind an authorization cookie. sway refuses to run as root.
// A headless sway has no pointer or keyboard of its own: make a SwayInput right after the session starts.
// Everything it starts is one process group, ended when this goes; sway also exits when the test process
// ends.
class SwaySession {
  public:
    // Its one screen, at the origin.
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 800;

    SwaySession();
    ~SwaySession();
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    bool ready() const { return failure_.empty(); }
    // Why the compositor did not start, with the end of its output.
    const std::string& failure() const { return failure_; }

    const std::string& runtimeDir() const { return runtimeDir_; }
    const std::string& x11Display() const { return x11Display_; }
    const std::string& waylandDisplay() const { return waylandDisplay_; }
    const std::string& xauthority() const { return xauthority_; }

    // Makes this process a client of the session: its environment as a program in the session would have it.
    void exportEnvironment() const;

    // Runs one of sway's commands, as `swaymsg` does ("[title=\"^Form$\"] focus"); false when sway refused
    // it.
    bool command(const std::string& command) const;
    // The title of the window that has sway's keyboard focus; empty when none has it.
    std::string focusedTitle() const;

  private:
    void start();
    std::string swaymsg(const std::vector<std::string>& arguments, bool& succeeded) const;

    std::string runtimeDir_;
    std::string x11Display_;
    std::string waylandDisplay_;
    std::string xauthority_;
    std::string failure_;
    std::vector<std::string> environment_;
    pid_t group_ = -1;
};
