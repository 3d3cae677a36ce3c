#include "wayland_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Xwayland and mutter start in about a second here; a loaded machine may need many more.
constexpr auto kStartTimeout = 40s;
// The session ends when the test process does, and after this many seconds at the latest.
constexpr const char* kSessionLifetimeSeconds = "240";

std::string readFile(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string tail(const std::string& text, std::size_t length) {
    return text.size() <= length ? text : text.substr(text.size() - length);
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

    std::vector<std::string> environment = {"PATH=/usr/local/bin:/usr/bin:/bin",
                                            "XDG_RUNTIME_DIR=" + runtimeDir_, "HOME=" + runtimeDir_,
                                            "LANG=C.UTF-8"};
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> arguments = {"dbus-run-session",
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
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) {
        failure_ = "fork failed";
        return;
    }
    if (child == 0) {
        setsid();
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    group_ = child;

    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (!std::filesystem::exists(envFile)) {
        int status = 0;
        if (waitpid(group_, &status, WNOHANG) == group_) {
            group_ = -1;
            failure_ = "the compositor ended at start: " + tail(readFile(logFile), 1500);
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            failure_ = "the compositor did not come up in time: " + tail(readFile(logFile), 1500);
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
        failure_ = "the compositor started without Xwayland: " + tail(readFile(logFile), 1500);
    }
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
