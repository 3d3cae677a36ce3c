#include "platform/portal/portal_native_keyboard.h"

#include "platform/log.h"
#include "platform/portal/restore_token.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr const char* kRemoteDesktop = "org.freedesktop.portal.RemoteDesktop";
constexpr const char* kSessionInterface = "org.freedesktop.portal.Session";
// Owned by mutter, GNOME's compositor: the portal's remote control there reaches native windows, and the
// X11 clipboard reaches their Ctrl+V.
constexpr const char* kGnomeCompositor = "org.gnome.Mutter.RemoteDesktop";

constexpr unsigned kKeyboard = 1;
constexpr unsigned kPointer = 2;
constexpr unsigned kPersistUntilRevoked = 2;
// Starting the portal service on demand can take a while on a cold desktop; a key is answered at once.
constexpr int kProbeTimeoutMs = 5000;
constexpr int kKeyTimeoutMs = 1000;

// X keysyms, which the portal maps to keys of the current layout.
int keysymOf(Key key) {
    switch (key) {
        case Key::Control:
            return 0xffe3;  // Control_L
        case Key::V:
            return 0x0076;  // v
        case Key::Tab:
            return 0xff09;
        case Key::Return:
            return 0xff0d;
    }
    return 0;
}

class PortalKeys final : public KeyInput {
  public:
    explicit PortalKeys(PortalNativeKeyboard& keyboard) : keyboard_(keyboard) {}
    bool press(Key key) override { return keyboard_.sendKeysym(keysymOf(key), true); }
    bool release(Key key) override { return keyboard_.sendKeysym(keysymOf(key), false); }
    bool anyModifierHeld() override { return false; }

  private:
    PortalNativeKeyboard& keyboard_;
};

QString sessionHandleOf(const QVariantMap& results) {
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    if (handle.canConvert<QDBusObjectPath>()) {
        return handle.value<QDBusObjectPath>().path();
    }
    return handle.toString();
}

}  // namespace

PortalNativeKeyboard::PortalNativeKeyboard(QDBusConnection bus, std::string restoreTokenPath, Log* log)
    : bus_(std::move(bus)),
      restoreTokenPath_(std::move(restoreTokenPath)),
      log_(log),
      requests_(bus_),
      keys_(std::make_unique<PortalKeys>(*this)) {}

PortalNativeKeyboard::~PortalNativeKeyboard() {
    closeSession();
}

NativeKeyboard::State PortalNativeKeyboard::state() {
    if (!probed_) {
        probed_ = true;
        probe();
    }
    return state_;
}

void PortalNativeKeyboard::probe() {
    if (!bus_.isConnected() || bus_.interface() == nullptr) {
        log(QStringLiteral("no session bus: native windows get only the clipboard"));
        return;
    }
    if (!bus_.interface()->isServiceRegistered(kGnomeCompositor).value()) {
        log(QStringLiteral("not a GNOME session (%1 is not on the session bus): native windows get only the "
                           "clipboard")
                .arg(kGnomeCompositor));
        return;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(kPortalService, kPortalPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("GetAll"));
    get.setArguments({QString(kRemoteDesktop)});
    const QDBusReply<QVariantMap> reply = bus_.call(get, QDBus::Block, kProbeTimeoutMs);
    if (!reply.isValid()) {
        log(QStringLiteral("no remote desktop portal: %1").arg(reply.error().message()));
        return;
    }
    version_ = reply.value().value(QStringLiteral("version")).toUInt();
    const unsigned available = reply.value().value(QStringLiteral("AvailableDeviceTypes")).toUInt();
    if (version_ == 0 || (available & kKeyboard) == 0) {
        log(QStringLiteral("the remote desktop portal offers no keyboard (version %1, devices %2)")
                .arg(version_)
                .arg(available));
        return;
    }
    deviceTypes_ = kKeyboard | (available & kPointer);
    state_ = State::NotAsked;
    log(QStringLiteral("remote desktop portal version %1 found").arg(version_));
}

void PortalNativeKeyboard::askConsent(WindowHandle toolbar) {
    if (state() != State::NotAsked) {
        return;
    }
    toolbar_ = toolbar;
    become(State::Asking, false);
    QVariantMap options{{QStringLiteral("session_handle_token"), NextPortalToken(sessionTokens_)}};
    requests_.call(kRemoteDesktop, QStringLiteral("CreateSession"), {}, options,
                   [this](unsigned response, const QVariantMap& results) {
                       session_ = sessionHandleOf(results);
                       if (response != 0 || session_.isEmpty()) {
                           fail(QStringLiteral("CreateSession"), response);
                           return;
                       }
                       bus_.connect(kPortalService, session_, kSessionInterface, QStringLiteral("Closed"),
                                    this, SLOT(onSessionClosed(QVariantMap)));
                       selectDevices();
                   });
}

void PortalNativeKeyboard::selectDevices() {
    QVariantMap options{{QStringLiteral("types"), QVariant::fromValue(deviceTypes_)}};
    usedRestoreToken_ = false;
    if (version_ >= 2) {
        options.insert(QStringLiteral("persist_mode"), QVariant::fromValue(kPersistUntilRevoked));
        const std::string token = ReadRestoreToken(restoreTokenPath_);
        if (!token.empty()) {
            options.insert(QStringLiteral("restore_token"), QString::fromStdString(token));
            usedRestoreToken_ = true;
        }
    }
    requests_.call(kRemoteDesktop, QStringLiteral("SelectDevices"),
                   {QVariant::fromValue(QDBusObjectPath(session_))}, options,
                   [this](unsigned response, const QVariantMap&) {
                       if (response != 0) {
                           fail(QStringLiteral("SelectDevices"), response);
                           return;
                       }
                       start(toolbar_);
                   });
}

void PortalNativeKeyboard::start(WindowHandle toolbar) {
    // The dialog belongs to the toolbar, so the desktop shows it above it.
    const QString parent = QStringLiteral("x11:%1").arg(static_cast<qulonglong>(toolbar), 0, 16);
    requests_.call(kRemoteDesktop, QStringLiteral("Start"),
                   {QVariant::fromValue(QDBusObjectPath(session_)), parent}, {},
                   [this](unsigned response, const QVariantMap& results) {
                       if (response == 1) {
                           log(QStringLiteral("the user refused the remote desktop session"));
                           closeSession();
                           become(State::Refused, true);
                           return;
                       }
                       const unsigned devices = results.value(QStringLiteral("devices")).toUInt();
                       if (response != 0 || (devices & kKeyboard) == 0) {
                           fail(QStringLiteral("Start (devices %1)").arg(devices), response);
                           return;
                       }
                       if (version_ >= 2) {
                           // Each token is good once: the one returned replaces the one used.
                           const std::string token =
                               results.value(QStringLiteral("restore_token")).toString().toStdString();
                           if (!StoreRestoreToken(restoreTokenPath_, token)) {
                               log(QStringLiteral("the restore token could not be stored"));
                           }
                       }
                       deviceTypes_ = devices;
                       warmUp();
                       log(QStringLiteral("remote desktop session started"));
                       become(State::Ready, true);
                   });
}

void PortalNativeKeyboard::warmUp() {
    // A new session loses its first event; a pointer motion by nothing is one that does nothing. (A lone
    // Shift would switch the input method on many Japanese desktops.)
    if ((deviceTypes_ & kPointer) == 0) {
        return;
    }
    QDBusMessage motion = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kRemoteDesktop,
                                                         QStringLiteral("NotifyPointerMotion"));
    motion.setArguments({QVariant::fromValue(QDBusObjectPath(session_)), QVariantMap(), 0.0, 0.0});
    bus_.call(motion, QDBus::Block, kKeyTimeoutMs);
}

bool PortalNativeKeyboard::sendKeysym(int keysym, bool pressed) {
    if (state_ != State::Ready) {
        return false;
    }
    QDBusMessage key = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kRemoteDesktop,
                                                      QStringLiteral("NotifyKeyboardKeysym"));
    key.setArguments({QVariant::fromValue(QDBusObjectPath(session_)), QVariantMap(), keysym,
                      QVariant::fromValue(pressed ? 1u : 0u)});
    const QDBusMessage reply = bus_.call(key, QDBus::Block, kKeyTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        log(QStringLiteral("the portal refused a key: %1").arg(reply.errorMessage()));
        return false;
    }
    return true;
}

void PortalNativeKeyboard::waitServingClipboard(std::chrono::milliseconds duration) {
    // Clicks and keys stay queued, so no second delivery starts inside this one.
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void PortalNativeKeyboard::onSessionClosed(const QVariantMap&) {
    // A session refused or failing is closed by the portal too; that end is told already.
    if (state_ != State::Ready) {
        return;
    }
    log(QStringLiteral("the desktop closed the remote desktop session"));
    closeSession();
    become(State::NotAsked, true);
}

void PortalNativeKeyboard::fail(const QString& step, unsigned response) {
    log(QStringLiteral("the remote desktop portal answered %1 to %2").arg(response).arg(step));
    closeSession();
    if (usedRestoreToken_) {
        // A token the desktop no longer honours: the next click asks with a dialog.
        StoreRestoreToken(restoreTokenPath_, {});
        usedRestoreToken_ = false;
        become(State::NotAsked, true);
        return;
    }
    become(State::Unavailable, true);
}

void PortalNativeKeyboard::closeSession() {
    if (session_.isEmpty()) {
        return;
    }
    bus_.disconnect(kPortalService, session_, kSessionInterface, QStringLiteral("Closed"), this,
                    SLOT(onSessionClosed(QVariantMap)));
    const QDBusMessage close =
        QDBusMessage::createMethodCall(kPortalService, session_, kSessionInterface, QStringLiteral("Close"));
    bus_.send(close);
    session_.clear();
}

void PortalNativeKeyboard::become(State state, bool tell) {
    state_ = state;
    if (tell && listener_) {
        listener_(state);
    }
}

void PortalNativeKeyboard::log(const QString& message) const {
    if (log_ != nullptr) {
        log_->write(LogCategory::Delivery, message.toStdString());
    }
}
