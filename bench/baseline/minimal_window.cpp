// The start-up benchmark's yardstick: the least a Qt Widgets program does to show one small titled window.
// It links Qt only, none of Zenporo's code.
//
// With --end-in-order, SIGTERM ends its event loop and Qt is torn down in order, as a program that saves
// something at the end must be (Zenporo writes its settings); without it, SIGTERM kills it at once.

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace {

int signalSocket[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    static_cast<void>(!write(signalSocket[1], &byte, 1));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--end-in-order") == 0 &&
        socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) == 0) {
        auto* notifier = new QSocketNotifier(signalSocket[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGTERM, onTerminate);
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.resize(240, 40);
    window.show();
    return app.exec();
}
