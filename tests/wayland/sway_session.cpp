#include "sway_session.h"

#include "log_tail.h"
#include "session_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace std::chrono_literals;

constexpr auto kStartTimeout = 40s;

bool writeFile(const std::string& path, const std::string& contents, std::filesystem::perms permissions) {
    std::ofstream file(path, std::ios::binary);
    file << contents;
    file.close();
    std::error_code error;
    std::filesystem::permissions(path, permissions, error);
    return file.good() && !error;
}

// An X authority file with one MIT-MAGIC-COOKIE-1 of random bytes for every display (family FamilyWild, no
// address or number), so that it serves whichever display Xwayland gets.
std::string xauthorityEntry() {
    std::ifstream random("/dev/urandom", std::ios::binary);
    std::string cookie(16, '\0');
    random.read(cookie.data(), std::streamsize(cookie.size()));
    const auto counted = [](const std::string& field) {
        return std::string{char(field.size() >> 8), char(field.size() & 0xff)} + field;
    };
    return std::string("\xff\xff", 2) + counted("") + counted("") + counted("MIT-MAGIC-COOKIE-1") +
           counted(cookie);
}

constexpr uid_t kUnprivileged = 65534;  // nobody

}  // namespace

SwaySession::SwaySession() {
    start();
}

SwaySession::~SwaySession() {
    sessionprocess::end(group_, runtimeDir_);
}

void SwaySession::start() {
    std::string dirTemplate = std::filesystem::temp_directory_path() / "zenporo-sway-XXXXXX";
    if (mkdtemp(dirTemplate.data()) == nullptr) {
        failure_ = "cannot create a runtime folder";
        return;
    }
    runtimeDir_ = dirTemplate;
    xauthority_ = runtimeDir_ + "/xauthority";
    const std::string envFile = runtimeDir_ + "/session-env";
    const std::string logFile = runtimeDir_ + "/compositor.log";
    const std::string config = runtimeDir_ + "/config";
    const std::string xwayland = runtimeDir_ + "/Xwayland";
    const std::string ready = runtimeDir_ + "/ready.sh";
    using std::filesystem::perms;
    // sway's configuration has no say in Xwayland's options: WLR_XWAYLAND runs this instead, adding the
    // cookie. Run by sway once it is up: hand its addresses out, then end sway when the test process ends, or
    // after four minutes at the latest.
    const bool written =
        writeFile(xauthority_, xauthorityEntry(), perms::owner_read | perms::owner_write) &&
        writeFile(xwayland, "#!/bin/sh\nexec Xwayland -auth \"$XAUTHORITY\" \"$@\"\n", perms::owner_all) &&
        writeFile(ready, R"(printf '%s\n%s\n%s\n' "$DISPLAY" "$WAYLAND_DISPLAY" "$SWAYSOCK" > "$1.part"
mv "$1.part" "$1"
i=0; while [ $i -lt 240 ] && [ -d "/proc/$2" ]; do sleep 1; i=$((i+1)); done
swaymsg exit
)",
                  perms::owner_all) &&
        writeFile(config,
                  "xwayland force\noutput HEADLESS-1 resolution " + std::to_string(kScreenWidth) + "x" +
                      std::to_string(kScreenHeight) + " position 0 0\nexec sh " + ready + " " + envFile +
                      " " + std::to_string(getpid()) + "\n",
                  perms::owner_read | perms::owner_write);
    if (!written) {
        failure_ = "cannot write the session's files";
        return;
    }
    // sway refuses to run as root. A test that runs as root (where the unprivileged user cannot reach the
    // test program) starts sway as that user, who then owns the session's folder and files.
    std::vector<std::string> command = {"sway", "-c", config};
    if (geteuid() == 0) {
        for (const std::string& path : {runtimeDir_, xauthority_, xwayland, ready, config}) {
            if (chown(path.c_str(), kUnprivileged, kUnprivileged) != 0) {
                failure_ = "cannot hand " + path + " to the unprivileged user";
                return;
            }
        }
        command.insert(command.begin(),
                       {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
    }

    environment_ = {"PATH=/usr/local/bin:/usr/bin:/bin", "XDG_RUNTIME_DIR=" + runtimeDir_,
                    "HOME=" + runtimeDir_, "LANG=C.UTF-8", "XAUTHORITY=" + xauthority_};
    std::vector<std::string> compositorEnvironment = environment_;
    compositorEnvironment.insert(compositorEnvironment.end(),
                                 {"WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman",
                                  "WLR_XWAYLAND=" + xwayland});
    failure_ =
        sessionprocess::startLeader(command, compositorEnvironment, logFile, envFile, kStartTimeout, group_);
    if (!failure_.empty()) {
        return;
    }
    std::ifstream env(envFile);
    std::getline(env, x11Display_);
    std::getline(env, waylandDisplay_);
    std::string ipcSocket;
    std::getline(env, ipcSocket);
    if (x11Display_.empty() || waylandDisplay_.empty()) {
        failure_ = "the compositor started without Xwayland: " + logTail(logFile, 1500);
        return;
    }
    environment_.insert(environment_.end(), {"DISPLAY=" + x11Display_, "WAYLAND_DISPLAY=" + waylandDisplay_,
                                             "SWAYSOCK=" + ipcSocket});
}

void SwaySession::exportEnvironment() const {
    sessionprocess::exportEnvironment(environment_);
}

bool SwaySession::command(const std::string& command) const {
    bool succeeded = false;
    swaymsg({"swaymsg", "--", command}, succeeded);
    return succeeded;
}

std::string SwaySession::focusedTitle() const {
    bool succeeded = false;
    const std::string tree = swaymsg({"swaymsg", "--raw", "-t", "get_tree"}, succeeded);
    // Depth first through the outputs, workspaces and windows, floating ones included.
    std::vector<QJsonObject> nodes = {QJsonDocument::fromJson(QByteArray::fromStdString(tree)).object()};
    while (!nodes.empty()) {
        const QJsonObject node = nodes.back();
        nodes.pop_back();
        if (node["focused"].toBool()) {
            return node["name"].toString().toStdString();
        }
        for (const char* children : {"nodes", "floating_nodes"}) {
            for (const QJsonValue child : node[children].toArray()) {
                nodes.push_back(child.toObject());
            }
        }
    }
    return {};
}

std::string SwaySession::swaymsg(const std::vector<std::string>& arguments, bool& succeeded) const {
    succeeded = false;
    if (!ready()) {
        return {};
    }
    const std::string output = runtimeDir_ + "/swaymsg.out";
    const pid_t child = sessionprocess::start(arguments, environment_, output, group_);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) {
        return {};
    }
    succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::ifstream file(output);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
