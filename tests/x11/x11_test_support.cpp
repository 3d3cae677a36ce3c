#include "x11_test_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QThread>

#include "platform/x11/x11_display.h"

#include <X11/Xlib.h>

namespace x11test {

QApplication& application() {
    static int argc = 1;
    static char name[] = "x11_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
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

TargetApp::TargetApp(const QString& title, const QStringList& extraArguments,
                     const QStringList& extraEnvironment)
    : statePath_(dir_.filePath("state")), process_(std::make_unique<QProcess>()) {
    // Helper programs are built into the same folder as this test program.
    const QString program = QCoreApplication::applicationDirPath() + "/paste_target";
    QStringList environment = QProcess::systemEnvironment();
    environment.append(extraEnvironment);
    process_->setEnvironment(environment);
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

bool Toolbar::takeFocus() {
    widget_.activateWindow();
    return QTest::qWaitForWindowActive(&widget_);
}

}  // namespace x11test
