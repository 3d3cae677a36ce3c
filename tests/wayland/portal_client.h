#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

// A program's side of the RemoteDesktop portal, called raw on the session bus of this process's environment,
// for tests of the portal stack. Each request waits for the Response signal of the request object it opened.
// The session is closed when this goes.
class PortalClient {
  public:
    struct Answer {
        uint response = 2;
        QVariantMap results;
    };

    PortalClient() = default;
    ~PortalClient();
    PortalClient(const PortalClient&) = delete;
    PortalClient& operator=(const PortalClient&) = delete;

    // CreateSession, SelectDevices for keyboard and pointer, and Start with the parent window ("x11:<hex
    // id>"), as the program calls them: Start's answer, or nothing when a call failed (see failure()).
    std::optional<Answer> startSession(const QString& parentWindow);
    // Calls a Notify method of the session, such as NotifyKeyboardKeysym with {int keysym, uint state};
    // whether the frontend accepted it.
    bool notify(const QString& method, const QList<QVariant>& arguments);
    const QString& failure() const { return failure_; }

  private:
    std::optional<Answer> request(const QString& method, QList<QVariant> arguments, QVariantMap options);

    QString session_;
    QString failure_;
};
