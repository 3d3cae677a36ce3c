#include "wayland_session.h"

#include "log_tail.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Xwayland and mutter start in about a second here; a loaded machine may need many more.
constexpr auto kStartTimeout = 40s;
// The session ends when the test process does, and after this many seconds at the latest.
constexpr const char* kSessionLifetimeSeconds = "240";

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& entry : strings) {
        result.push_back(entry.data());
    }
    result.push_back(nullptr);
    return result;
}

// Forks and runs the program in the process group (0: a new one it leads), its output going to the log file.
pid_t startProcess(std::vector<std::string> arguments, std::vector<std::string> environment,
                   const std::string& logFile, pid_t group) {
    const std::vector<char*> argv = pointers(arguments);
    const std::vector<char*> envp = pointers(environment);
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, group);
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    if (child > 0) {
        setpgid(child, group == 0 ? child : group);  // also here, so the group exists once fork returns
    }
    return child;
}

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
    group_ = startProcess(arguments, environment_, logFile, 0);
    if (group_ < 0) {
        failure_ = "fork failed";
        return;
    }

    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (!std::filesystem::exists(envFile)) {
        int status = 0;
        if (waitpid(group_, &status, WNOHANG) == group_) {
            group_ = -1;
            failure_ = "the compositor ended at start: " + logTail(logFile, 1500);
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            failure_ = "the compositor did not come up in time: " + logTail(logFile, 1500);
            return;
        }
        std::this_thread::sleep_for(50ms);
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
    for (const std::string& entry : environment_) {
        const std::size_t equals = entry.find('=');
        setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
}

pid_t WaylandSession::spawn(const std::vector<std::string>& arguments,
                            const std::vector<std::string>& extraEnvironment,
                            const std::string& logFile) const {
    if (!ready()) {
        return -1;
    }
    std::vector<std::string> environment = environment_;
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    return startProcess(arguments, environment, logFile, group_);
}

void WaylandSession::stop() {
    if (group_ > 0) {
        kill(-group_, SIGTERM);
        bool ended = false;
        for (int i = 0; i < 100 && !ended; ++i) {
            int status = 0;
            ended = waitpid(group_, &status, WNOHANG) == group_;
            if (!ended) {
                std::this_thread::sleep_for(50ms);
            }
        }
        if (!ended) {
            kill(-group_, SIGKILL);
            waitpid(group_, nullptr, 0);
        }
    }
    if (!runtimeDir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(runtimeDir_, ignored);
    }
}
