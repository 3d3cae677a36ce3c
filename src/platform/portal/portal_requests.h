#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <map>

class QDBusMessage;

// The desktop portal's service and object.
inline constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
inline constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";

// Portal calls that answer later, through the Response signal of a request object. Its path follows from
// the handle token given, so the answer is listened for before the call goes out and cannot be missed.
class PortalRequests final : public QObject {
    Q_OBJECT
  public:
    // The portal's response code (0 allowed, 1 cancelled by the user, 2 ended otherwise) and its results.
    using Answer = std::function<void(unsigned response, const QVariantMap& results)>;

    explicit PortalRequests(QDBusConnection bus);

    // Calls interface.method with the arguments and then the options, a handle token added. A call the
    // portal rejects outright is answered with 2 and the error's message under "error".
    void call(const QString& interface, const QString& method, const QVariantList& arguments,
              QVariantMap options, Answer then);
    // Forgets every request still waiting for its answer, which will never come: its service went.
    void forgetAll();

  private slots:
    void onResponse(uint response, const QVariantMap& results, const QDBusMessage& message);

  private:
    void answer(const QString& path, unsigned response, const QVariantMap& results);
    void stopListening(const QString& path);

    QDBusConnection bus_;
    std::map<QString, Answer> pending_;
    unsigned handles_ = 0;
};

// A token for a new request or session handle, unique for this connection.
QString NextPortalToken(unsigned& counter);
