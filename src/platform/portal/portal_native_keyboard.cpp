#include "platform/portal/portal_native_keyboard.h"

#include "platform/log.h"
#include "platform/portal/restore_token.h"
#include "platform/qt/serve_events.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QTimer>

namespace {

constexpr const char* kRemoteDesktop = "org.freedesktop.portal.RemoteDesktop";
constexpr const char* kSessionInterface = "org.freedesktop.portal.Session";
// Owned by mutter, GNOME's compositor: the portal's remote control there reaches native windows, and the
// X11 clipboard reaches their Ctrl+V.
constexpr const char* kGnomeCompositor = "org.gnome.Mutter.RemoteDesktop";
// Owned by KWin, KDE Plasma's compositor: the portal's remote control there reaches native windows too.
constexpr const char* kKdeCompositor = "org.kde.KWin";

constexpr unsigned kKeyboard = 1;
constexpr unsigned kPointer = 2;
constexpr unsigned kPersistUntilRevoked = 2;
// Starting the portal service on demand can take a while on a cold desktop; a key is answered at once, and
// one that is not answered within a second means the service hangs.
constexpr std::chrono::milliseconds kProbeTimeout{5000};
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
        case Key::A:
            return 0x0061;  // a
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

PortalNativeKeyboard::PortalNativeKeyboard(QDBusConnection bus, std::string restoreTokenPath, Log* log,
                                           Desktops served)
    : bus_(std::move(bus)),
      restoreTokenPath_(std::move(restoreTokenPath)),
      log_(log),
      requests_(bus_),
      serviceWatcher_(kPortalService, bus_, QDBusServiceWatcher::WatchForOwnerChange),
      keys_(std::make_unique<PortalKeys>(*this)),
      served_(served) {
    connect(&serviceWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &PortalNativeKeyboard::onServiceOwnerChanged);
    probe();
}

PortalNativeKeyboard::~PortalNativeKeyboard() {
    closeSession();
}

NativeKeyboard::State PortalNativeKeyboard::state() {
    waitForProbe();
    return state_;
}

bool PortalNativeKeyboard::remembersConsent() {
    waitForProbe();
    return version_ >= 2;
}

bool PortalNativeKeyboard::hasKeptConsent() {
    return remembersConsent() && !ReadRestoreToken(restoreTokenPath_).empty();
}

void PortalNativeKeyboard::waitForProbe() {
    if (probing_) {
        waitServingEvents(kProbeTimeout, [this] { return !probing_; });
    }
}

PortalNativeKeyboard::Desktop PortalNativeKeyboard::desktop() {
    waitForProbe();
    return desktop_;
}

bool PortalNativeKeyboard::asksConsentWithDialog() {
    waitForProbe();
    return !(desktop_ == Desktop::Kde && version_ < 2);
}

// Asks the bus which served desktop's compositor runs, then the portal what it offers; the answers come
// later.
void PortalNativeKeyboard::probe() {
    if (!bus_.isConnected()) {
        log(QStringLiteral("no session bus: native windows get only the clipboard"));
        return;
    }
    probing_ = true;
    askHasOwner(kGnomeCompositor, [this](bool gnome) {
        if (gnome) {
            desktop_ = Desktop::Gnome;
            readPortalProperties();
            return;
        }
        if (served_ == Desktops::Gnome) {
            log(QStringLiteral("not a GNOME session (%1 is not on the session bus): native windows get only "
                               "the clipboard")
                    .arg(kGnomeCompositor));
            probing_ = false;
            return;
        }
        askHasOwner(kKdeCompositor, [this](bool kde) {
            if (!kde) {
                log(QStringLiteral("neither a GNOME nor a KDE session (neither %1 nor %2 is on the session "
                                   "bus): native windows get only the clipboard")
                        .arg(kGnomeCompositor, kKdeCompositor));
                probing_ = false;
                return;
            }
            desktop_ = Desktop::Kde;
            readPortalProperties();
        });
    });
}

void PortalNativeKeyboard::askHasOwner(const char* name, std::function<void(bool)> then) {
    QDBusMessage hasOwner = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    hasOwner.setArguments({QString(name)});
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(hasOwner), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [then = std::move(then)](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<bool> reply = *call;
                then(!reply.isError() && reply.value());
            });
}

void PortalNativeKeyboard::readPortalProperties() {
    QDBusMessage get = QDBusMessage::createMethodCall(kPortalService, kPortalPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("GetAll"));
    get.setArguments({QString(kRemoteDesktop)});
    auto* watcher =
        new QDBusPendingCallWatcher(bus_.asyncCall(get, static_cast<int>(kProbeTimeout.count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        probing_ = false;
        const QDBusPendingReply<QVariantMap> reply = *call;
        if (reply.isError()) {
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
        offered_ = true;
        state_ = State::NotAsked;
        log(QStringLiteral("remote desktop portal version %1 found on %2")
                .arg(version_)
                .arg(desktop_ == Desktop::Kde ? QStringLiteral("KDE") : QStringLiteral("GNOME")));
    });
}

void PortalNativeKeyboard::askConsent(WindowHandle toolbar) {
    if (state() != State::NotAsked) {
        return;
    }
    toolbar_ = toolbar;
    // Only a token used by this ask may be dropped when this ask fails.
    usedRestoreToken_ = false;
    state_ = State::Asking;
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
                           state_ = State::Refused;
                           tell(Change::Refused);
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
                       state_ = State::Ready;
                       tell(Change::Allowed);
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
    if (reply.type() != QDBusMessage::ErrorMessage) {
        return true;
    }
    log(QStringLiteral("the portal refused a key: %1 %2").arg(reply.errorName(), reply.errorMessage()));
    const QDBusError::ErrorType error = QDBusError(reply).type();
    if (error == QDBusError::NoReply || error == QDBusError::Timeout || error == QDBusError::TimedOut) {
        // Every further key would block the toolbar as long: none is sent until the service restarts.
        hung_ = true;
        forgetSession();
        state_ = State::Unavailable;
        tell(Change::Hung);
    } else if (error == QDBusError::AccessDenied) {
        // The portal no longer knows the session (it restarted without our noticing): ask anew.
        forgetSession();
        state_ = State::NotAsked;
        tell(Change::ServiceRestarted);
    }
    return false;
}

bool PortalNativeKeyboard::waitServingEvents(std::chrono::milliseconds cap,
                                             const std::function<bool()>& done) {
    return ServeEventsUntil(cap, done);
}

void PortalNativeKeyboard::onSessionClosed(const QVariantMap&) {
    // A session refused or failing is closed by the portal too; that end is told already.
    if (state_ != State::Ready) {
        return;
    }
    // The user stopped it in the desktop: that is a no to the kept allowance too, so the next click asks
    // with the dialog, as the notice says.
    log(QStringLiteral("the desktop closed the remote desktop session; its allowance is forgotten"));
    StoreRestoreToken(restoreTokenPath_, {});
    closeSession();
    state_ = State::NotAsked;
    tell(Change::EndedByDesktop);
}

void PortalNativeKeyboard::onServiceOwnerChanged(const QString&, const QString& oldOwner,
                                                 const QString& newOwner) {
    if (oldOwner.isEmpty() && !hung_) {
        return;  // started on demand, by our own call or another program's
    }
    log(QStringLiteral("the desktop portal's service changed from \"%1\" to \"%2\"").arg(oldOwner, newOwner));
    // Requests and the session lived in the old service; the user said nothing, so a kept allowance stays.
    requests_.forgetAll();
    forgetSession();
    hung_ = false;
    if (!offered_ || state_ == State::Refused || state_ == State::NotAsked) {
        return;
    }
    state_ = State::NotAsked;
    tell(Change::ServiceRestarted);
}

void PortalNativeKeyboard::fail(const QString& step, unsigned response) {
    log(QStringLiteral("the remote desktop portal answered %1 to %2").arg(response).arg(step));
    closeSession();
    if (usedRestoreToken_) {
        // A token the desktop no longer honours: the next click asks with a dialog.
        StoreRestoreToken(restoreTokenPath_, {});
        usedRestoreToken_ = false;
        state_ = State::NotAsked;
        tell(Change::NotHonoured);
        return;
    }
    state_ = State::Unavailable;
    tell(Change::Failed);
}

void PortalNativeKeyboard::forgetSession() {
    if (session_.isEmpty()) {
        return;
    }
    bus_.disconnect(kPortalService, session_, kSessionInterface, QStringLiteral("Closed"), this,
                    SLOT(onSessionClosed(QVariantMap)));
    session_.clear();
}

void PortalNativeKeyboard::closeSession() {
    if (session_.isEmpty()) {
        return;
    }
    const QDBusMessage close =
        QDBusMessage::createMethodCall(kPortalService, session_, kSessionInterface, QStringLiteral("Close"));
    forgetSession();
    bus_.send(close);
}

void PortalNativeKeyboard::tell(Change change) {
    if (listener_) {
        listener_(change);
    }
}

void PortalNativeKeyboard::log(const QString& message) const {
    if (log_ != nullptr) {
        log_->write(LogCategory::Delivery, message.toStdString());
    }
}
