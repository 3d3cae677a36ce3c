#include "wayland_session.h"

#include "log_tail.h"
#include "session_process.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Xwayland and mutter start in about a second here; a loaded machine may need many more.
constexpr auto kStartTimeout = 40s;
// The session ends when the test process does, and after this many seconds at the latest.
constexpr const char* kSessionLifetimeSeconds = "240";

}  // namespace

WaylandSession::WaylandSession() {
    start();
}

WaylandSession::~WaylandSession() {
    stop();
}

void WaylandSession::start() {
    std::string dirTemplate = std::filesystem::temp_directory_path() / "zenporo-wayland-XXXXXX";
    if (mkdtemp(dirTemplate.data()) == nullptr) {
        failure_ = "cannot create a runtime folder";
        return;
    }
    runtimeDir_ = dirTemplate;
    const std::string envFile = runtimeDir_ + "/session-env";
    const std::string logFile = runtimeDir_ + "/compositor.log";
    // Run inside the session once it is up: hand its addresses out, then keep it alive until stopped.
    const std::string script =
        std::string(
            "printf '%s\\n%s\\n%s\\n%s\\n' \"$DISPLAY\" \"$WAYLAND_DISPLAY\" "
            "\"$DBUS_SESSION_BUS_ADDRESS\" \"$XAUTHORITY\" > \"$0.part\" && mv \"$0.part\" \"$0\" && "
            "i=0; while [ $i -lt ") +
        kSessionLifetimeSeconds + " ] && kill -0 \"$1\" 2>/dev/null; do sleep 1; i=$((i+1)); done";

    environment_ = {"PATH=/usr/local/bin:/usr/bin:/bin", "XDG_RUNTIME_DIR=" + runtimeDir_,
                    "HOME=" + runtimeDir_, "LANG=C.UTF-8"};
    const std::vector<std::string> arguments = {"dbus-run-session",
                                                "--",
                                                "mutter",
                                                "--headless",
                                                "--wayland",
                                                "--virtual-monitor",
                                                "1280x800",
                                                "--",
                                                "sh",
                                                "-c",
                                                script,
                                                envFile,
                                                std::to_string(getpid())};
    failure_ = sessionprocess::startLeader(arguments, environment_, logFile, envFile, kStartTimeout, group_);
    if (!failure_.empty()) {
        return;
    }
    std::ifstream env(envFile);
    std::getline(env, x11Display_);
    std::getline(env, waylandDisplay_);
    std::getline(env, busAddress_);
    std::getline(env, xauthority_);
    if (x11Display_.empty() || waylandDisplay_.empty()) {
        failure_ = "the compositor started without Xwayland: " + logTail(logFile, 1500);
        return;
    }
    environment_.insert(environment_.end(),
                        {"DISPLAY=" + x11Display_, "WAYLAND_DISPLAY=" + waylandDisplay_,
                         "DBUS_SESSION_BUS_ADDRESS=" + busAddress_, "XAUTHORITY=" + xauthority_});
}

void WaylandSession::exportEnvironment() const {
    sessionprocess::exportEnvironment(environment_);
}

pid_t WaylandSession::spawn(const std::vector<std::string>& arguments,
                            const std::vector<std::string>& extraEnvironment,
                            const std::string& logFile) const {
    if (!ready()) {
        return -1;
    }
    std::vector<std::string> environment = environment_;
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    return sessionprocess::start(arguments, environment, logFile, group_);
}

void WaylandSession::stop() {
    sessionprocess::end(group_, runtimeDir_);
}
