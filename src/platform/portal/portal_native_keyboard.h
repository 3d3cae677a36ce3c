#pragma once

#include "platform/native_keyboard.h"
#include "platform/portal/portal_requests.h"

#include <QDBusConnection>
#include <QObject>

#include <memory>
#include <string>

class Log;

// Keys for the native windows of a GNOME Wayland session through the xdg desktop portal's RemoteDesktop
// interface: one session for the run, asked for at the first use, restored without a dialog where the portal
// keeps allowances (version 2 and later). Other desktops are not offered it: KDE's clipboard bridge hands a
// native window the previous text while keys would report success, and others vary.
class PortalNativeKeyboard final : public QObject, public NativeKeyboard {
    Q_OBJECT
  public:
    PortalNativeKeyboard(QDBusConnection bus, std::string restoreTokenPath, Log* log);
    ~PortalNativeKeyboard() override;

    State state() override;
    bool remembersConsent() override { return version_ >= 2; }
    void askConsent(WindowHandle toolbar) override;
    void setStateListener(std::function<void(State)> listener) override { listener_ = std::move(listener); }
    KeyInput& keys() override { return *keys_; }
    void waitServingClipboard(std::chrono::milliseconds duration) override;

    // Sends one keysym press or release into the session; false when the portal refused it.
    bool sendKeysym(int keysym, bool pressed);

  private slots:
    void onSessionClosed(const QVariantMap& details);

  private:
    void probe();
    void selectDevices();
    void start(WindowHandle toolbar);
    void warmUp();
    // The portal answered a step with other than "allowed": logged, the session closed, and a restore token
    // that was used dropped, so the next click asks with a dialog; without one the portal counts as failing.
    void fail(const QString& step, unsigned response);
    void closeSession();
    void become(State state, bool tell);
    void log(const QString& message) const;

    QDBusConnection bus_;
    std::string restoreTokenPath_;
    Log* log_;
    PortalRequests requests_;
    std::unique_ptr<KeyInput> keys_;
    std::function<void(State)> listener_;
    bool probed_ = false;
    State state_ = State::Unavailable;
    unsigned version_ = 0;
    unsigned deviceTypes_ = 0;  // asked for: keyboard (1), and pointer (2) for the warm-up
    bool usedRestoreToken_ = false;
    unsigned sessionTokens_ = 0;
    QString session_;
    WindowHandle toolbar_ = 0;
};
