#pragma once

#include "platform/native_keyboard.h"
#include "platform/portal/portal_requests.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

#include <memory>
#include <string>

class Log;

// Keys for the native windows of a GNOME Wayland session, and of a KDE Plasma one where asked for, through
// the xdg desktop portal's RemoteDesktop interface: one session for the run, asked for at the first use,
// restored without a dialog where the portal keeps allowances (version 2 and later). KDE is served only where
// the caller sets the Wayland clipboard itself: KDE's clipboard bridge hands a native window the previous X11
// text while keys would report success. Other desktops vary and are not served. Whether the desktop offers
// it is asked at construction, without blocking.
class PortalNativeKeyboard final : public QObject, public NativeKeyboard {
    Q_OBJECT
  public:
    // The desktops it serves, told by their compositor's name on the session bus.
    enum class Desktops { Gnome, GnomeAndKde };
    // The desktop found: none of those served, GNOME's mutter or KDE's KWin.
    enum class Desktop { Other, Gnome, Kde };

    PortalNativeKeyboard(QDBusConnection bus, std::string restoreTokenPath, Log* log,
                         Desktops served = Desktops::Gnome);
    ~PortalNativeKeyboard() override;

    State state() override;
    bool remembersConsent() override;
    bool hasKeptConsent() override;
    void askConsent(WindowHandle toolbar) override;
    void setChangeListener(std::function<void(Change)> listener) override { listener_ = std::move(listener); }
    KeyInput& keys() override { return *keys_; }
    bool waitServingEvents(std::chrono::milliseconds cap, const std::function<bool()>& done) override;

    // Which served desktop this is; waits for the answer as state() does.
    Desktop desktop();
    // Whether askConsent shows the user a dialog. Plasma 5.27's portal (version 1) starts the session at once
    // and only notifies the user; GNOME's portal, and KDE's from version 2 on, ask.
    bool asksConsentWithDialog() override;

    // Sends one keysym press or release into the session; false when the portal refused it or did not
    // answer in time.
    bool sendKeysym(int keysym, bool pressed);

  private slots:
    void onSessionClosed(const QVariantMap& details);
    void onServiceOwnerChanged(const QString& service, const QString& oldOwner, const QString& newOwner);

  private:
    void probe();
    // Asks the bus whether the name has an owner; the answer comes later, false on an error.
    void askHasOwner(const char* name, std::function<void(bool)> then);
    // A click that comes before the portal answered waits for it.
    void waitForProbe();
    void readPortalProperties();
    void selectDevices();
    void start(WindowHandle toolbar);
    void warmUp();
    // The portal answered a step with other than "allowed": logged, the session closed, and a restore token
    // that was used dropped, so the next click asks with a dialog; without one the portal counts as failing.
    void fail(const QString& step, unsigned response);
    // The session is gone on the portal's side: forgotten here without a word to the portal.
    void forgetSession();
    void closeSession();
    void tell(Change change);
    void log(const QString& message) const;

    QDBusConnection bus_;
    std::string restoreTokenPath_;
    Log* log_;
    PortalRequests requests_;
    QDBusServiceWatcher serviceWatcher_;
    std::unique_ptr<KeyInput> keys_;
    std::function<void(Change)> listener_;
    bool probing_ = false;
    Desktops served_;
    Desktop desktop_ = Desktop::Other;
    bool offered_ = false;  // the desktop is served and its portal offers a keyboard
    bool hung_ = false;     // a key went unanswered: unavailable until the service restarts
    State state_ = State::Unavailable;
    unsigned version_ = 0;
    unsigned deviceTypes_ = 0;  // asked for: keyboard (1), and pointer (2) for the warm-up
    bool usedRestoreToken_ = false;
    unsigned sessionTokens_ = 0;
    QString session_;
    WindowHandle toolbar_ = 0;
};
