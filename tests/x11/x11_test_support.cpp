#include "x11_test_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QThread>

#include "platform/x11/x11_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace x11test {

QApplication& application() {
    static int argc = 1;
    static char name[] = "x11_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own statics may already be gone, and a window it still holds (a tooltip)
    // would crash the process as the application object went.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
    return true;
}

void iconify(X11Display& display, unsigned long window) {
    XIconifyWindow(display.get(), window, DefaultScreen(display.get()));
    XFlush(display.get());
}

unsigned long showOwnWindow(X11Display& display) {
    Display* const d = display.get();
    const Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 200, 30, 0, 0, 0);
    const unsigned long pid = static_cast<unsigned long>(QCoreApplication::applicationPid());
    XChangeProperty(d, window, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XStoreName(d, window,
               "2\xd7"
               "3 toolbar");  // WM_NAME alone, in Latin-1 as old clients set it
    XMapRaised(d, window);
    XSync(d, False);
    return window;
}

BareDisplay::BareDisplay() {
    // A display number just above our own, which the test script leaves free.
    const int own = qEnvironmentVariable("DISPLAY").section(':', 1).section('.', 0, 0).toInt();
    for (int number = own + 1; number <= own + 8; ++number) {
        if (QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number)) ||
            QFile::exists(QString("/tmp/.X%1-lock").arg(number))) {
            continue;
        }
        name_ = QString(":%1").arg(number);
        break;
    }
    if (name_.isEmpty()) {
        return;
    }
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start("Xvfb", {name_, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    const QString socket = "/tmp/.X11-unix/X" + name_.mid(1);
    if (!server_.waitForStarted(5000) || !waitUntil([&] { return QFile::exists(socket); }, 10000)) {
        name_.clear();
    }
}

BareDisplay::~BareDisplay() {
    // Asked politely, the server removes its socket and lock file, so the number is free again.
    server_.terminate();
    if (!server_.waitForFinished(5000)) {
        server_.kill();
        server_.waitForFinished(5000);
    }
}

TargetApp::TargetApp(const QString& title, const QStringList& extraArguments,
                     const QStringList& extraEnvironment, const QString& otherProgram)
    : statePath_(dir_.filePath("state")), process_(std::make_unique<QProcess>()) {
    // Helper programs are built into the same folder as this test program.
    const QString program =
        otherProgram.isEmpty() ? QCoreApplication::applicationDirPath() + "/paste_target" : otherProgram;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : extraEnvironment) {
        environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
    }
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(program,
                    QStringList{"--target-title=" + title, "--state-file=" + statePath_} + extraArguments);
}

TargetApp::~TargetApp() {
    process_->kill();
    process_->waitForFinished(5000);
}

bool TargetApp::waitReady() {
    return waitUntil([this] { return !state("window").isEmpty(); });
}

unsigned long TargetApp::window() const {
    return state("window").toULong();
}

QString TargetApp::state(const QString& key) const {
    QFile file(statePath_);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString prefix = key + "=";
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith(prefix)) {
            return line.mid(prefix.size());
        }
    }
    return {};
}

Toolbar::Toolbar() {
    widget_.setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    widget_.setWindowTitle(QString::fromUtf8("Zenporo！"));
    widget_.setGeometry(10, 10, 300, 30);
    widget_.show();
    static_cast<void>(QTest::qWaitForWindowExposed(&widget_));
}

unsigned long Toolbar::window() const {
    return static_cast<unsigned long>(widget_.winId());
}

}  // namespace x11test
