#include "kwin_session.h"

#include "log_tail.h"
#include "session_process.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QJsonArray>
#include <QJsonDocument>

#include <unistd.h>
#include <wayland-client.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

// KWin, Xwayland and the portal are up in about a second here; a loaded machine may need many more.
constexpr auto kStartTimeout = 40s;

// Run by KWin once it is up: starts KDE's portal backend as a Wayland client (it needs a Wayland connection,
// and the bus would start it without one), then the frontend that picks it, hands the session's addresses
// out, and keeps the session alive while the test process lives, for four minutes at the most.
constexpr const char* kReadyScript = R"(dir=$1
has() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
await() {
  i=0
  until has "$1"; do
    i=$((i+1)); [ $i -le 600 ] || { echo "$1 did not come up" >&2; exit 1; }
    sleep 0.05
  done
}
backend=
for program in /usr/libexec/xdg-desktop-portal-kde /usr/lib/*/libexec/xdg-desktop-portal-kde; do
  [ -x "$program" ] && backend=$program
done
[ -n "$backend" ] || { echo "xdg-desktop-portal-kde is not installed" >&2; exit 1; }
QT_QPA_PLATFORM=wayland "$backend" > "$dir/portal-kde.log" 2>&1 &
await org.freedesktop.impl.portal.desktop.kde
XDG_DESKTOP_PORTAL_DIR="$dir/portals" /usr/libexec/xdg-desktop-portal > "$dir/portal.log" 2>&1 &
await org.freedesktop.portal.Desktop
printf '%s\n%s\n%s\n' "$DISPLAY" "$WAYLAND_DISPLAY" "$DBUS_SESSION_BUS_ADDRESS" > "$dir/session-env.part"
mv "$dir/session-env.part" "$dir/session-env"
i=0; while [ $i -lt 240 ] && kill -0 "$2" 2>/dev/null; do sleep 1; i=$((i+1)); done
)";

// Plasma 5's scripting names, as Debian 12's KWin has them.
constexpr const char* kActivateScript = R"(const wanted = %1[0];
for (const window of workspace.clientList()) {
    if (window.caption === wanted) {
        workspace.activeClient = window;
    }
}
)";

}  // namespace

KWinSession::KWinSession() {
    const auto begin = std::chrono::steady_clock::now();
    start();
    startupTime_ =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin);
}

KWinSession::~KWinSession() {
    sessionprocess::end(group_, {});
    // KWin and the portal's services write their files as they end, a moment after the group's leader.
    std::error_code error;
    for (int attempt = 0; attempt < 40 && !runtimeDir_.empty() && std::filesystem::exists(runtimeDir_);
         ++attempt) {
        std::filesystem::remove_all(runtimeDir_, error);
        std::this_thread::sleep_for(50ms);
    }
}

void KWinSession::start() {
    std::string dirTemplate = std::filesystem::temp_directory_path() / "zenporo-kwin-XXXXXX";
    if (mkdtemp(dirTemplate.data()) == nullptr) {
        failure_ = "cannot create a runtime folder";
        return;
    }
    runtimeDir_ = dirTemplate;
    const std::string kwin = runtimeDir_ + "/kwin_wayland";
    const std::string ready = runtimeDir_ + "/ready.sh";
    const std::string logFile = runtimeDir_ + "/compositor.log";
    std::error_code error;
    // The frontend reads the backends from this folder alone, so it never starts another desktop's.
    std::filesystem::create_directory(runtimeDir_ + "/portals", error);
    std::filesystem::copy_file("/usr/share/xdg-desktop-portal/portals/kde.portal",
                               runtimeDir_ + "/portals/kde.portal", error) &&
        std::filesystem::copy_file("/usr/bin/kwin_wayland", kwin, error);  // a copy drops the capability
    std::ofstream(ready) << kReadyScript;
    if (error || !std::filesystem::exists(ready)) {
        failure_ =
            "cannot prepare KWin and its portal (are kwin-wayland and xdg-desktop-portal-kde "
            "installed?): " +
            error.message();
        return;
    }

    environment_ = {"PATH=/usr/local/bin:/usr/bin:/bin",
                    "XDG_RUNTIME_DIR=" + runtimeDir_,
                    "HOME=" + runtimeDir_,
                    "LANG=C.UTF-8",
                    "XDG_CURRENT_DESKTOP=KDE",
                    "XDG_SESSION_TYPE=wayland"};
    std::vector<std::string> compositorEnvironment = environment_;
    compositorEnvironment.push_back("KWIN_COMPOSE=Q");  // software rendering: there is no GPU
    const std::vector<std::string> arguments = {
        "dbus-run-session",
        "--",
        kwin,
        "--virtual",
        "--xwayland",
        "--width",
        "1280",
        "--height",
        "800",
        "--exit-with-session",
        "sh " + ready + " " + runtimeDir_ + " " + std::to_string(getpid())};
    const std::string envFile = runtimeDir_ + "/session-env";
    failure_ = sessionprocess::startLeader(arguments, compositorEnvironment, logFile, envFile, kStartTimeout,
                                           group_);
    if (!failure_.empty()) {
        return;
    }
    std::ifstream env(envFile);
    std::string x11Display;
    std::getline(env, x11Display);
    std::getline(env, waylandDisplay_);
    std::getline(env, busAddress_);
    if (x11Display.empty() || waylandDisplay_.empty()) {
        failure_ = "KWin started without Xwayland: " + logTail(logFile, 1500);
        return;
    }
    environment_.insert(environment_.end(), {"DISPLAY=" + x11Display, "WAYLAND_DISPLAY=" + waylandDisplay_,
                                             "DBUS_SESSION_BUS_ADDRESS=" + busAddress_});
}

void KWinSession::exportEnvironment() const {
    sessionprocess::exportEnvironment(environment_);
    unsetenv("XAUTHORITY");  // KWin's Xwayland takes every local client of this user
}

std::vector<std::string> KWinSession::waylandGlobals() const {
    std::vector<std::string> globals;
    wl_display* display = wl_display_connect((runtimeDir_ + "/" + waylandDisplay_).c_str());
    if (display == nullptr) {
        return globals;
    }
    static const wl_registry_listener listener = {
        [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            static_cast<std::vector<std::string>*>(data)->push_back(interface);
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &globals);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return globals;
}

bool KWinSession::activate(const std::string& caption) {
    const QString path = QString::fromStdString(runtimeDir_) + QString("/activate-%1.js").arg(++activations_);
    {
        std::ofstream script(path.toStdString());
        script << QString(kActivateScript)
                      .arg(QString::fromUtf8(QJsonDocument(QJsonArray{QString::fromStdString(caption)})
                                                 .toJson(QJsonDocument::Compact)))
                      .toStdString();
    }
    // Each script gets a name of its own and stays loaded: KWin reads the file after run has returned.
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage load =
        QDBusMessage::createMethodCall("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", "loadScript");
    load.setArguments({path, QString("zenporo-test-activate-%1").arg(activations_)});
    const QDBusReply<int> id = bus.call(load);
    if (!id.isValid() || id.value() < 0) {
        return false;
    }
    const QDBusMessage run = bus.call(QDBusMessage::createMethodCall(
        "org.kde.KWin", QString("/%1").arg(id.value()), "org.kde.kwin.Script", "run"));
    return run.type() == QDBusMessage::ReplyMessage;
}

std::string KWinSession::diagnostics() const {
    return "KWin: " + logTail(runtimeDir_ + "/compositor.log", 1500) +
           "\nportal backend: " + logTail(runtimeDir_ + "/portal-kde.log", 1000) +
           "\nportal frontend: " + logTail(runtimeDir_ + "/portal.log", 1000);
}
