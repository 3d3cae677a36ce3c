#include "portal_stack.h"

#include "log_tail.h"
#include "wayland_session.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFile>
#include <QSaveFile>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The backend and the frontend are up in a fifth of a second here; a loaded machine may need many more.
constexpr auto kStartTimeout = 30s;
const QString kBackendName = "org.freedesktop.impl.portal.desktop.zenporotest";
const QString kPortalName = "org.freedesktop.portal.Desktop";
const char* const kBusConnection = "zenporo-portal-stack";

void endProcess(pid_t pid) {
    if (pid <= 0) {
        return;
    }
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(50ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Helper programs are built into the same folder as the test program.
std::string helperProgram(const char* name) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

}  // namespace

PortalStack::PortalStack(const WaylandSession& session, Answer answer)
    : folder_(session.runtimeDir() + "/portal"), session_(&session) {
    if (!session.ready()) {
        failure_ = "no session";
        return;
    }
    std::filesystem::create_directories(folder_);
    setAnswer(answer);
    const auto begin = std::chrono::steady_clock::now();
    busName_ = QString("%1-%2").arg(kBusConnection).arg(reinterpret_cast<quintptr>(this));
    QDBusConnection::connectToBus(QString::fromStdString(session.busAddress()), busName_);
    start(session);
    startupTime_ =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin);
}

PortalStack::~PortalStack() {
    endProcess(frontend_);
    endProcess(backend_);
    QDBusConnection::disconnectFromBus(busName_);
}

void PortalStack::start(const WaylandSession& session) {
    // The frontend reads the backends from this folder alone and picks those made for the current desktop.
    std::ofstream(folder_ + "/zenporo-test.portal")
        << "[portal]\nDBusName=" << kBackendName.toStdString()
        << "\nInterfaces=org.freedesktop.impl.portal.RemoteDesktop\n"
           "UseIn=gnome\n";
    const std::string backendLog = folder_ + "/backend.log";
    backend_ =
        session.spawn({helperProgram("remote_desktop_backend"), "--bus-name=" + kBackendName.toStdString(),
                       "--answer-file=" + folder_ + "/answer", "--log-file=" + folder_ + "/calls"},
                      {}, backendLog);
    if (!waitForName(kBackendName, backend_, backendLog)) {
        return;
    }
    if (!startFrontend()) {
        return;
    }
    const std::string frontendLog = folder_ + "/frontend.log";
    QDBusMessage get = QDBusMessage::createMethodCall(kPortalName, "/org/freedesktop/portal/desktop",
                                                      "org.freedesktop.DBus.Properties", "Get");
    get.setArguments({"org.freedesktop.portal.RemoteDesktop", "version"});
    const QDBusMessage version = QDBusConnection(busName_).call(get);
    if (version.type() != QDBusMessage::ReplyMessage) {
        failure_ = "the frontend offers no RemoteDesktop portal (" + version.errorMessage().toStdString() +
                   "): " + logTail(frontendLog, 1500);
    }
}

bool PortalStack::startFrontend() {
    const std::string frontendLog = folder_ + "/frontend.log";
    frontend_ =
        session_->spawn({"/usr/libexec/xdg-desktop-portal", "--verbose"},
                        {"XDG_DESKTOP_PORTAL_DIR=" + folder_, "XDG_CURRENT_DESKTOP=GNOME"}, frontendLog);
    return waitForName(kPortalName, frontend_, frontendLog);
}

void PortalStack::stopFrontend() {
    endProcess(frontend_);
    frontend_ = -1;
}

bool PortalStack::waitForName(const QString& name, pid_t& program, const std::string& logFile) {
    const QDBusConnection bus(busName_);
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (!(bus.isConnected() && bus.interface()->isServiceRegistered(name).value())) {
        if (program < 0 || waitpid(program, nullptr, WNOHANG) == program) {
            program = -1;
            failure_ = name.toStdString() + ": its program ended at start: " + logTail(logFile, 1500);
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            failure_ = name.toStdString() + " did not come up in time: " + logTail(logFile, 1500);
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void PortalStack::setAnswer(Answer answer) const {
    QSaveFile file(QString::fromStdString(folder_ + "/answer"));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(answer == Answer::Grant ? "grant\n" : "refuse\n");
        file.commit();
    }
}

std::vector<PortalCall> PortalStack::calls() const {
    QFile file(QString::fromStdString(folder_ + "/calls"));
    std::vector<PortalCall> calls;
    if (!file.open(QIODevice::ReadOnly)) {
        return calls;
    }
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
        QStringList fields = line.split('\t');
        calls.push_back({fields.takeFirst(), fields});
    }
    return calls;
}

std::string PortalStack::diagnostics() const {
    return "frontend: " + logTail(folder_ + "/frontend.log", 1500) +
           "\nbackend: " + logTail(folder_ + "/backend.log", 500) + "\nbackend calls:\n" +
           logTail(folder_ + "/calls", 1000);
}
