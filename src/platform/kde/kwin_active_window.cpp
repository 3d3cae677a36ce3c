#include "platform/kde/kwin_active_window.h"

#include "platform/log.h"
#include "platform/qt/serve_events.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QMetaClassInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kKWinService = "org.kde.KWin";
constexpr const char* kScriptingInterface = "org.kde.kwin.Scripting";
constexpr const char* kObjectPath = "/org/zenporo/KWinActiveWindow";
// KWin answers at once; a KWin that does not answer within this long counts as without the script.
constexpr int kCallTimeoutMs = 2000;
// How long the script may take to report after it was started before the log says it did not.
constexpr int kFirstReportMs = 3000;
// How long a click waits for a first report that has not come yet, so the click does not hang on a stalled
// KWin.
constexpr std::chrono::milliseconds kFirstReportWait{500};

// Plasma 5 names the active window activeClient and its change clientActivated; Plasma 6 activeWindow and
// windowActivated. Resource classes are byte arrays on Plasma 5, which reach a script as an ArrayBuffer.
constexpr const char* kScript = R"(// Reports the active window to the program that loaded this script.
function text(value) {
    if (value instanceof ArrayBuffer) {
        return String.fromCharCode.apply(null, new Uint8Array(value));
    }
    return value === undefined || value === null ? "" : String(value);
}
function report(window) {
    callDBus("%1", "%2", "%3", "Activated", window ? text(window.internalId) : "",
             window ? text(window.resourceClass) : "", window ? text(window.caption) : "",
             window ? text(window.pid) : "0");
}
const plasma6 = workspace.windowActivated !== undefined;
(plasma6 ? workspace.windowActivated : workspace.clientActivated).connect(report);
report(plasma6 ? workspace.activeWindow : workspace.activeClient);
)";

// A folder only this user can enter: made with mode 0700, or an existing one of this user's set to it.
bool makePrivateFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (mkdir(native.constData(), 0700) == 0) {
        return true;
    }
    struct stat info {};
    return errno == EEXIST && lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == geteuid() && chmod(native.constData(), 0700) == 0;
}

}  // namespace

KWinActiveWindow::KWinActiveWindow(QDBusConnection bus, Log* log)
    : bus_(std::move(bus)),
      log_(log),
      kwinWatcher_(kKWinService, bus_, QDBusServiceWatcher::WatchForOwnerChange) {
    connect(&kwinWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &KWinActiveWindow::onKWinOwnerChanged);
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        folder_ = runtime + QStringLiteral("/zenporo");
        scriptPath_ = folder_ + QStringLiteral("/kwin-active-window.js");
    }
    registered_ =
        bus_.isConnected() && bus_.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots);
    load();
}

KWinActiveWindow::~KWinActiveWindow() {
    if (running_) {
        unload();
    }
    if (registered_) {
        bus_.unregisterObject(kObjectPath);
    }
    if (!scriptPath_.isEmpty()) {
        QFile::remove(scriptPath_);
        QDir().rmdir(folder_);  // only when nothing else of ours is in it
    }
}

std::optional<ActiveWindowReport> KWinActiveWindow::lastReport() const {
    return available() ? active_ : std::nullopt;
}

std::optional<DesktopActiveWindow::Window> KWinActiveWindow::activeWindow() {
    waitForReport(kFirstReportWait);
    const std::optional<ActiveWindowReport> report = lastReport();
    if (!report) {
        return std::nullopt;
    }
    return Window{report->id,
                  "\"" + report->caption + "\" (" + report->resourceClass + ", pid " +
                      std::to_string(report->pid) + ", KWin id " + report->id + ")",
                  isOwn(*report)};
}

bool KWinActiveWindow::waitForReport(std::chrono::milliseconds cap) {
    ServeEventsUntil(cap, [this] { return !running_ || reported_; });
    return available();
}

bool KWinActiveWindow::runsOn(QDBusConnection& bus) {
    return bus.isConnected() && bus.interface()->isServiceRegistered(kKWinService);
}

bool KWinActiveWindow::isOwn(const ActiveWindowReport& window) {
    return window.pid == static_cast<long>(getpid());
}

void KWinActiveWindow::Activated(const QString& id, const QString& resourceClass, const QString& caption,
                                 const QString& pid) {
    // Anyone on the bus could call here; only KWin's reports count.
    if (!running_ || !calledFromDBus() || message().service() != kwinOwner_) {
        return;
    }
    if (!reported_) {
        log(QStringLiteral("KWin reports the active window: \"%1\" (%2, process %3)")
                .arg(caption, resourceClass, pid));
    }
    reported_ = true;
    if (id.isEmpty()) {
        active_.reset();
        return;
    }
    active_ = ActiveWindowReport{id.toStdString(), resourceClass.toStdString(), caption.toStdString(),
                                 pid.toLong()};
}

void KWinActiveWindow::load() {
    if (!registered_ || scriptPath_.isEmpty()) {
        log(QStringLiteral("no session bus or runtime folder: the active window cannot be asked of KWin"));
        return;
    }
    const QDBusReply<QString> owner = bus_.interface()->serviceOwner(kKWinService);
    if (!owner.isValid()) {
        log(QStringLiteral("KWin is not on the session bus: the active window cannot be asked of it"));
        return;
    }
    kwinOwner_ = owner.value();
    unload();  // a script left by a run that crashed reports to a bus name that is gone
    if (!writeScript()) {
        log(QStringLiteral("the KWin script could not be written to %1").arg(scriptPath_));
        return;
    }
    QDBusMessage loadCall = QDBusMessage::createMethodCall(kKWinService, QStringLiteral("/Scripting"),
                                                           kScriptingInterface, QStringLiteral("loadScript"));
    loadCall.setArguments({scriptPath_, QString(kPluginName)});
    const QDBusReply<int> scriptId = bus_.call(loadCall, QDBus::Block, kCallTimeoutMs);
    if (!scriptId.isValid() || scriptId.value() < 0) {
        log(QStringLiteral("KWin did not load the script: %1")
                .arg(scriptId.isValid() ? QStringLiteral("id %1").arg(scriptId.value())
                                        : scriptId.error().message()));
        return;
    }
    if (!run(scriptId.value())) {
        unload();
        return;
    }
    running_ = true;
    QTimer::singleShot(kFirstReportMs, this, [this] {
        if (running_ && !reported_) {
            log(QStringLiteral("the KWin script has not reported the active window"));
        }
    });
}

bool KWinActiveWindow::writeScript() {
    if (!makePrivateFolder(folder_)) {
        return false;
    }
    QSaveFile file(scriptPath_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QString script = QString::fromLatin1(kScript).arg(
        bus_.baseService(), QString(kObjectPath),
        QString::fromLatin1(
            metaObject()->classInfo(metaObject()->indexOfClassInfo("D-Bus Interface")).value()));
    file.write(script.toUtf8());
    return file.commit();
}

// KWin numbers a script by the count of scripts loaded, so the object path of a new one can be that of an
// older script still running when others were unloaded before it (seen on Plasma 5.27 at a second run): a
// `run` there reaches the older script. The scripting object's `start` runs every loaded script that is not
// running yet, which is ours.
bool KWinActiveWindow::run(int scriptId) {
    const QDBusMessage reply =
        bus_.call(QDBusMessage::createMethodCall(kKWinService, QStringLiteral("/Scripting"),
                                                 kScriptingInterface, QStringLiteral("start")),
                  QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        log(QStringLiteral("KWin did not run the script: %1").arg(reply.errorMessage()));
        return false;
    }
    log(QStringLiteral("KWin script %1 started").arg(scriptId));
    return true;
}

void KWinActiveWindow::unload() {
    QDBusMessage unloadCall = QDBusMessage::createMethodCall(
        kKWinService, QStringLiteral("/Scripting"), kScriptingInterface, QStringLiteral("unloadScript"));
    unloadCall.setArguments({QString(kPluginName)});
    bus_.call(unloadCall, QDBus::Block, kCallTimeoutMs);
}

void KWinActiveWindow::forget() {
    running_ = false;
    reported_ = false;
    active_.reset();
}

void KWinActiveWindow::onKWinOwnerChanged(const QString&, const QString&, const QString& newOwner) {
    // A KWin that restarted knows no script of ours; the old one's name is gone with it.
    log(QStringLiteral("KWin's bus name changed to \"%1\"").arg(newOwner));
    forget();
    if (!newOwner.isEmpty()) {
        load();
    }
}

void KWinActiveWindow::log(const QString& message) const {
    if (log_ != nullptr) {
        log_->write(LogCategory::Delivery, message.toStdString());
    }
}
