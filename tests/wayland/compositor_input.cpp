#include "compositor_input.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>

namespace {

const QString kService = "org.gnome.Mutter.RemoteDesktop";
const QString kSessionInterface = "org.gnome.Mutter.RemoteDesktop.Session";
constexpr int kLeftButton = 0x110;  // BTN_LEFT of linux/input-event-codes.h
// Further than any screen is wide: the pointer stops at the screen's top left corner.
constexpr double kToCorner = -100000;

}  // namespace

CompositorInput::CompositorInput(const std::string& busAddress)
    : connection_(QString("zenporo-compositor-input-%1").arg(reinterpret_cast<quintptr>(this))) {
    const QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromStdString(busAddress), connection_);
    const QDBusMessage created = bus.call(QDBusMessage::createMethodCall(
        kService, "/org/gnome/Mutter/RemoteDesktop", kService, "CreateSession"));
    if (created.type() != QDBusMessage::ReplyMessage) {
        failure_ = "the compositor offers no remote desktop session: " + created.errorMessage();
        return;
    }
    session_ = created.arguments().value(0).value<QDBusObjectPath>().path();
    // The first event of each kind makes the compositor's pointer or keyboard: a seat without one offers none
    // to clients, and a client that binds it late misses what came first.
    const uint shift = 0xffe1;
    call("Start", {}) && call("NotifyPointerMotionRelative", {0.0, 0.0}) &&
        call("NotifyKeyboardKeysym", {shift, true}) && call("NotifyKeyboardKeysym", {shift, false});
}

CompositorInput::~CompositorInput() {
    if (!session_.isEmpty()) {
        call("Stop", {});
    }
    QDBusConnection::disconnectFromBus(connection_);
}

bool CompositorInput::moveTo(QPoint point) {
    // Relative motion is not accelerated here: from the corner it lands on the point exactly.
    return call("NotifyPointerMotionRelative", {kToCorner, kToCorner}) &&
           call("NotifyPointerMotionRelative", {double(point.x()), double(point.y())});
}

bool CompositorInput::click(QPoint point) {
    return moveTo(point) && call("NotifyPointerButton", {kLeftButton, true}) &&
           call("NotifyPointerButton", {kLeftButton, false});
}

bool CompositorInput::tapKey(std::uint32_t keysym) {
    const uint key = keysym;
    return call("NotifyKeyboardKeysym", {key, true}) && call("NotifyKeyboardKeysym", {key, false});
}

bool CompositorInput::call(const char* method, const QList<QVariant>& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, session_, kSessionInterface, method);
    message.setArguments(arguments);
    const QDBusMessage answer = QDBusConnection(connection_).call(message);
    if (answer.type() != QDBusMessage::ReplyMessage) {
        failure_ = QString("%1: %2").arg(method, answer.errorMessage());
        return false;
    }
    return true;
}
