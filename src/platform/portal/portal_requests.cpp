#include "platform/portal/portal_requests.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";

// The request object's path: the sender's unique name without its colon, dots made underscores.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace('.', '_');
    return QStringLiteral("%1/request/%2/%3").arg(kPortalPath, sender, token);
}

}  // namespace

QString NextPortalToken(unsigned& counter) {
    return QStringLiteral("zenporo%1").arg(++counter);
}

PortalRequests::PortalRequests(QDBusConnection bus) : bus_(std::move(bus)) {}

void PortalRequests::call(const QString& interface, const QString& method, const QVariantList& arguments,
                          QVariantMap options, Answer then) {
    const QString token = NextPortalToken(handles_);
    const QString path = requestPath(bus_, token);
    options.insert(QStringLiteral("handle_token"), token);
    pending_[path] = std::move(then);
    bus_.connect(kPortalService, path, kRequestInterface, QStringLiteral("Response"), this,
                 SLOT(onResponse(uint, QVariantMap, QDBusMessage)));

    QDBusMessage message = QDBusMessage::createMethodCall(kPortalService, kPortalPath, interface, method);
    QVariantList all = arguments;
    all.append(options);
    message.setArguments(all);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (call->isError()) {
            this->answer(path, 2, {{QStringLiteral("error"), call->error().message()}});
        }
    });
}

void PortalRequests::onResponse(uint response, const QVariantMap& results, const QDBusMessage& message) {
    answer(message.path(), response, results);
}

void PortalRequests::answer(const QString& path, unsigned response, const QVariantMap& results) {
    const auto found = pending_.find(path);
    if (found == pending_.end()) {
        return;
    }
    const Answer then = std::move(found->second);
    pending_.erase(found);
    stopListening(path);
    then(response, results);
}

void PortalRequests::forgetAll() {
    for (const auto& request : pending_) {
        stopListening(request.first);
    }
    pending_.clear();
}

void PortalRequests::stopListening(const QString& path) {
    bus_.disconnect(kPortalService, path, kRequestInterface, QStringLiteral("Response"), this,
                    SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
}
