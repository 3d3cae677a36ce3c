// The Linux program's services: Qt for dialogs, clipboard, shell, log and text; X11 (also through Xwayland)
// for the window order and keys; in a Wayland session, the compositor's seat where it offers it (wlroots),
// else the desktop portal, for keys into native windows; a lock file for the single instance.
#include "platform/platform_services.h"

#include "platform/kde/kwin_active_window.h"
#include "platform/portal/portal_native_keyboard.h"
#include "platform/portal/restore_token.h"
#include "platform/posix/file_instance_lock.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_log.h"
#include "platform/qt/qt_shell.h"
#include "platform/thread_sleeper.h"
#include "platform/wayland/data_control_clipboard.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wlroots_seat_keyboard.h"
#include "platform/x11/x11_clipboard.h"
#include "platform/x11/x11_platform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QWidget>

namespace {

// The X connection of the window order and the key input, with its events taken as they come while the
// toolbar waits, so the window order follows the active window.
struct X11Backend {
    std::shared_ptr<X11Display> display;
    std::unique_ptr<QSocketNotifier> events;
    // In a Wayland session, the program's own connection to the compositor, watched the same way.
    std::shared_ptr<WaylandConnection> wayland;
    std::unique_ptr<QSocketNotifier> waylandEvents;
};

std::shared_ptr<X11Backend> watchEvents(std::shared_ptr<X11Display> display) {
    auto backend = std::make_shared<X11Backend>();
    backend->display = std::move(display);
    backend->events =
        std::make_unique<QSocketNotifier>(backend->display->fileDescriptor(), QSocketNotifier::Read);
    X11Display* connection = backend->display.get();
    QObject::connect(backend->events.get(), &QSocketNotifier::activated,
                     [connection] { connection->takePendingEvents(); });
    return backend;
}

// The compositor names an X11 window by its class, which Qt takes from the program's file name.
bool isOwnWindow(const std::string& appId, const std::string&) {
    const QString fileName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return QString::fromStdString(appId).compare(fileName, Qt::CaseInsensitive) == 0;
}

// In a Wayland session, the program's own connection to the compositor, watched as the X connection is.
std::shared_ptr<WaylandConnection> openWayland(X11Backend& backend, Log* log) {
    backend.wayland = WaylandConnection::open();
    if (!backend.wayland) {
        if (log != nullptr) {
            log->write(LogCategory::Delivery,
                       "no Wayland connection of our own (WAYLAND_DISPLAY, XDG_RUNTIME_DIR)");
        }
        return nullptr;
    }
    backend.waylandEvents =
        std::make_unique<QSocketNotifier>(backend.wayland->fileDescriptor(), QSocketNotifier::Read);
    WaylandConnection* connection = backend.wayland.get();
    QObject::connect(backend.waylandEvents.get(), &QSocketNotifier::activated,
                     [connection] { connection->takePendingEvents(); });
    return backend.wayland;
}

// How native windows of a Wayland session are served: through the compositor's seat where it offers one
// (wlroots), else through the desktop portal's keys, on KDE Plasma with the compositor's own clipboard and
// KWin's word on the active window.
void openNativeDelivery(X11Backend& backend, PlatformServices& services) {
    Log* const log = services.log.get();
    const std::shared_ptr<WaylandConnection> connection = openWayland(backend, log);
    if (connection) {
        if (std::optional<WlrootsSeatKeyboard::Services> seat =
                WlrootsSeatKeyboard::open(connection, isOwnWindow, log)) {
            services.seatKeyboard = std::move(seat->keyboard);
            services.clipboard = std::move(seat->clipboard);
            return;
        }
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    auto served = PortalNativeKeyboard::Desktops::Gnome;
    std::unique_ptr<Clipboard> waylandClipboard =
        connection ? DataControlClipboard::open(connection) : nullptr;
    // KWin hands the X11 clipboard to native windows only while an X11 window has the focus.
    if (waylandClipboard && KWinActiveWindow::runsOn(bus)) {
        services.nativeClipboard = std::move(waylandClipboard);
        services.desktopWindow = std::make_unique<KWinActiveWindow>(bus, log);
        served = PortalNativeKeyboard::Desktops::GnomeAndKde;
    }
    services.nativeKeyboard =
        std::make_unique<PortalNativeKeyboard>(bus, DefaultRestoreTokenPath(), log, served);
}

}  // namespace

PlatformServices makePlatformServices() {
    PlatformServices services;
    services.textCodec = makePlatformTextCodec();
    auto dialogs = std::make_unique<QtDialogs>();
    QtDialogs* qtDialogs = dialogs.get();
    services.dialogs = std::move(dialogs);
    services.setToolbarWindow = [qtDialogs](AskingWindow toolbar) {
        qtDialogs->setParent(static_cast<QWidget*>(toolbar));
    };
    services.clipboard = makeX11Clipboard(std::make_unique<QtClipboard>());
    services.shell = std::make_unique<QtShell>();
    services.instanceLock =
        std::make_unique<FileInstanceLock>(DefaultInstanceLockPath("Zenpad_Ruvek_Application"));
    services.sleeper = std::make_unique<ThreadSleeper>();
    services.log = std::make_unique<QtLog>();
    if (std::optional<X11Delivery> delivery = openX11Delivery()) {
        std::shared_ptr<X11Backend> backend = watchEvents(delivery->display);
        services.backend = backend;
        services.windowOrder = std::move(delivery->windows);
        services.keyInput = std::move(delivery->keys);
        if (services.windowOrder->isWaylandSession()) {
            openNativeDelivery(*backend, services);
        }
    }
    return services;
}
