// A stand-in for the desktop's RemoteDesktop portal backend. The real portal frontend (xdg-desktop-portal)
// hands it a program's calls; it grants or refuses Start as the answer file says, writes every call to a log
// file, and once granted forwards keys and relative pointer motion to mutter's own remote desktop API, so
// they reach the focused window for real.
//
//   remote_desktop_backend --bus-name=NAME --answer-file=PATH --log-file=PATH
//
// The answer file holds "grant" or "refuse" and is read at each Start; without it Start is refused. Each log
// line is a method's name and its arguments, separated by tabs.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QMap>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

const QString kObjectPath = "/org/freedesktop/portal/desktop";
const QString kPortalInterface = "org.freedesktop.impl.portal.RemoteDesktop";
const QString kMutterService = "org.gnome.Mutter.RemoteDesktop";
const QString kMutterSessionInterface = "org.gnome.Mutter.RemoteDesktop.Session";
constexpr uint kKeyboardAndPointer = 3;
constexpr unsigned long kUserAnswerMs = 700;

enum Response : uint { Granted = 0, Refused = 1, Failed = 2 };

QString option(const QString& name) {
    const QString prefix = "--" + name + "=";
    for (const QString& argument : QCoreApplication::arguments()) {
        if (argument.startsWith(prefix)) {
            return argument.mid(prefix.size());
        }
    }
    return {};
}

QVariantMap mapArgument(const QVariant& argument) {
    QVariantMap map;
    argument.value<QDBusArgument>() >> map;
    return map;
}

class Backend : public QDBusVirtualObject {
  public:
    Backend(QDBusConnection bus, QString answerPath, QString logPath)
        : bus_(std::move(bus)), answerPath_(std::move(answerPath)), logPath_(std::move(logPath)) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
        const QString member = message.member();
        const QList<QVariant> in = message.arguments();
        if (message.interface() == "org.freedesktop.DBus.Properties") {
            return replyProperties(message);
        }
        if (member == "Close") {  // a Session or Request object of the frontend's
            log({member, message.path()});
            closeSession(message.path());
            return reply(message, {});
        }
        if (message.interface() != kPortalInterface) {
            return false;
        }
        if (member == "CreateSession") {
            log({member, in.value(1).value<QDBusObjectPath>().path()});
            return reply(message, {uint{Granted}, QVariantMap{}});
        }
        if (member == "SelectDevices") {
            const uint types = mapArgument(in.value(3)).value("types", kKeyboardAndPointer).toUInt();
            devices_[in.value(1).value<QDBusObjectPath>().path()] = types & kKeyboardAndPointer;
            log({member, QString::number(types)});
            return reply(message, {uint{Granted}, QVariantMap{}});
        }
        if (member == "Start") {
            return start(message, in.value(1).value<QDBusObjectPath>().path(), in.value(3).toString());
        }
        if (member == "NotifyKeyboardKeysym") {
            const uint keysym = static_cast<uint>(in.value(2).toInt());
            const bool pressed = in.value(3).toUInt() != 0;
            log({member, "0x" + QString::number(keysym, 16), QString::number(pressed)});
            forward(in.value(0).value<QDBusObjectPath>().path(), member, {keysym, pressed});
            return reply(message, {});
        }
        if (member == "NotifyPointerMotion") {
            const double dx = in.value(2).toDouble();
            const double dy = in.value(3).toDouble();
            log({member, QString::number(dx), QString::number(dy)});
            forward(in.value(0).value<QDBusObjectPath>().path(), "NotifyPointerMotionRelative", {dx, dy});
            return reply(message, {});
        }
        log({member, "unsupported"});
        bus_.send(message.createErrorReply(QDBusError::NotSupported, member + " is not supported here"));
        return true;
    }

  private:
    bool start(const QDBusMessage& message, const QString& session, const QString& parentWindow) {
        // A user reads the dialog before answering it; an answer at once would replace the notice of the click
        // that asked before the user, or a test, could see it.
        QThread::msleep(kUserAnswerMs);
        const bool grant = readAnswer() == "grant";
        log({"Start", parentWindow, grant ? "grant" : "refuse"});
        if (!grant) {
            return reply(message, {uint{Refused}, QVariantMap{}});
        }
        const QString mutterSession = openMutterSession();
        if (mutterSession.isEmpty()) {
            return reply(message, {uint{Failed}, QVariantMap{}});
        }
        mutterSessions_[session] = mutterSession;
        const uint devices = devices_.value(session, kKeyboardAndPointer);
        return reply(message, {uint{Granted}, QVariantMap{{"devices", devices}}});
    }

    QString readAnswer() const {
        QFile file(answerPath_);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    }

    // A session of mutter's own on this connection: mutter ends it when the connection goes.
    QString openMutterSession() {
        const QDBusMessage created = bus_.call(QDBusMessage::createMethodCall(
            kMutterService, "/org/gnome/Mutter/RemoteDesktop", kMutterService, "CreateSession"));
        if (created.type() != QDBusMessage::ReplyMessage) {
            log({"MutterCreateSession", created.errorMessage()});
            return {};
        }
        const QString path = created.arguments().value(0).value<QDBusObjectPath>().path();
        const QDBusMessage started =
            bus_.call(QDBusMessage::createMethodCall(kMutterService, path, kMutterSessionInterface, "Start"));
        if (started.type() != QDBusMessage::ReplyMessage) {
            log({"MutterStart", started.errorMessage()});
            return {};
        }
        return path;
    }

    void forward(const QString& session, const QString& method, const QList<QVariant>& arguments) {
        const QString mutterSession = mutterSessions_.value(session);
        if (mutterSession.isEmpty()) {
            log({method, "no started session"});
            return;
        }
        QDBusMessage call =
            QDBusMessage::createMethodCall(kMutterService, mutterSession, kMutterSessionInterface, method);
        call.setArguments(arguments);
        const QDBusMessage answer = bus_.call(call);
        if (answer.type() != QDBusMessage::ReplyMessage) {
            log({method, answer.errorMessage()});
        }
    }

    void closeSession(const QString& session) {
        const QString mutterSession = mutterSessions_.take(session);
        devices_.remove(session);
        if (!mutterSession.isEmpty()) {
            bus_.call(QDBusMessage::createMethodCall(kMutterService, mutterSession, kMutterSessionInterface,
                                                     "Stop"));
        }
    }

    bool replyProperties(const QDBusMessage& message) {
        const QVariantMap properties =
            message.arguments().value(0).toString() == kPortalInterface
                ? QVariantMap{{"version", 1U}, {"AvailableDeviceTypes", kKeyboardAndPointer}}
                : QVariantMap{{"version", 1U}};
        if (message.member() == "GetAll") {
            return reply(message, {properties});
        }
        const QString name = message.arguments().value(1).toString();
        if (message.member() != "Get" || !properties.contains(name)) {
            bus_.send(message.createErrorReply(QDBusError::UnknownProperty, name));
            return true;
        }
        return reply(message, {QVariant::fromValue(QDBusVariant(properties.value(name)))});
    }

    bool reply(const QDBusMessage& message, const QList<QVariant>& arguments) {
        bus_.send(message.createReply(arguments));
        return true;
    }

    void log(const QStringList& fields) const {
        QFile file(logPath_);
        if (file.open(QIODevice::Append)) {
            file.write((fields.join('\t') + '\n').toUtf8());
        }
    }

    QDBusConnection bus_;
    QString answerPath_;
    QString logPath_;
    QMap<QString, uint> devices_;            // by the frontend's session path
    QMap<QString, QString> mutterSessions_;  // mutter's session path by the frontend's session path
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Backend backend(bus, option("answer-file"), option("log-file"));
    if (!bus.registerVirtualObject(kObjectPath, &backend, QDBusConnection::SubPath) ||
        !bus.registerService(option("bus-name"))) {
        std::fprintf(stderr, "remote_desktop_backend: cannot serve on the session bus: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    // The session's bus going away ends the test session: end with it.
    QTimer busWatch;
    QObject::connect(&busWatch, &QTimer::timeout, &app, [&] {
        if (!bus.isConnected()) {
            app.quit();
        }
    });
    busWatch.start(500);
    return app.exec();
}
