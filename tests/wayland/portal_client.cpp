#include "portal_client.h"

#include "x11_test_support.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>

namespace {

const QString kPortal = "org.freedesktop.portal.Desktop";
const QString kPortalPath = "/org/freedesktop/portal/desktop";
const QString kRemoteDesktop = "org.freedesktop.portal.RemoteDesktop";
const QString kRequest = "org.freedesktop.portal.Request";
constexpr uint kKeyboardAndPointer = 3;

// Tokens the caller chooses make the paths of request and session objects; each must be new on the
// connection.
QString newToken() {
    static int serial = 0;
    return QString("zenporo%1").arg(++serial);
}

}  // namespace

class ResponseReceiver : public QObject {
    Q_OBJECT
  public:
    std::optional<PortalClient::Answer> answer;

  public slots:
    void respond(uint response, const QVariantMap& results) {
        answer = PortalClient::Answer{response, results};
    }
};

PortalClient::~PortalClient() {
    if (!session_.isEmpty()) {
        QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall(kPortal, session_, "org.freedesktop.portal.Session", "Close"));
    }
}

std::optional<PortalClient::Answer> PortalClient::startSession(const QString& parentWindow) {
    const auto created = request("CreateSession", {}, {{"session_handle_token", newToken()}});
    if (!created || created->response != 0) {
        return created;
    }
    session_ = created->results.value("session_handle").toString();
    const QVariant handle = QVariant::fromValue(QDBusObjectPath(session_));
    const auto selected = request("SelectDevices", {handle}, {{"types", kKeyboardAndPointer}});
    if (!selected || selected->response != 0) {
        return selected;
    }
    return request("Start", {handle, parentWindow}, {});
}

bool PortalClient::notify(const QString& method, const QList<QVariant>& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(kPortal, kPortalPath, kRemoteDesktop, method);
    message.setArguments(QList<QVariant>{QVariant::fromValue(QDBusObjectPath(session_)), QVariantMap{}} +
                         arguments);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
    failure_ = reply.errorMessage();
    return reply.type() == QDBusMessage::ReplyMessage;
}

std::optional<PortalClient::Answer> PortalClient::request(const QString& method, QList<QVariant> arguments,
                                                          QVariantMap options) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString token = newToken();
    // The frontend's path for the request: subscribe before calling, as the answer may come at once.
    const QString path =
        QString("%1/request/%2/%3").arg(kPortalPath, bus.baseService().mid(1).replace('.', '_'), token);
    ResponseReceiver receiver;
    bus.connect(kPortal, path, kRequest, "Response", &receiver, SLOT(respond(uint, QVariantMap)));
    options["handle_token"] = token;
    QDBusMessage message = QDBusMessage::createMethodCall(kPortal, kPortalPath, kRemoteDesktop, method);
    message.setArguments(arguments << options);
    const QDBusMessage reply = bus.call(message);
    const bool answered = reply.type() == QDBusMessage::ReplyMessage &&
                          x11test::waitUntil([&] { return receiver.answer.has_value(); });
    bus.disconnect(kPortal, path, kRequest, "Response", &receiver, SLOT(respond(uint, QVariantMap)));
    if (!answered) {
        failure_ = method + ": " + (reply.errorMessage().isEmpty() ? "no answer" : reply.errorMessage());
        return std::nullopt;
    }
    if (receiver.answer->response != 0) {
        failure_ = QString("%1 answered %2").arg(method).arg(receiver.answer->response);
    }
    return receiver.answer;
}

#include "portal_client.moc"
