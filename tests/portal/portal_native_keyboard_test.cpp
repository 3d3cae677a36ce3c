// The portal client against a fake portal on a private session bus: what it asks for, what it keeps, and
// what each answer of the consent dialog leaves it in.

#include "platform/portal/portal_native_keyboard.h"
#include "platform/native_keyboard.h"
#include "support/qt_app.h"
#include "support/temporary_folder.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// What a desktop's portal answers, and what it was asked.
class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.RemoteDesktop")
    Q_PROPERTY(uint version READ version)
    Q_PROPERTY(uint AvailableDeviceTypes READ availableDeviceTypes)
  public:
    uint portalVersion = 2;
    uint createResponse = 0;
    uint startResponse = 0;
    bool startUnanswered = false;  // the dialog stays open
    QString returnedToken;
    enum class KeyReply { Done, Denied, Hang } keyReply = KeyReply::Done;
    QString lastSession;
    QStringList calls;  // "Method detail", in order; read once the thread is idle

    uint version() const { return portalVersion; }
    uint availableDeviceTypes() const { return 3; }

  public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options) {
        calls << "CreateSession";
        lastSession =
            "/org/freedesktop/portal/desktop/session/1_1/" + options.value("session_handle_token").toString();
        return answer(options, createResponse, {{"session_handle", lastSession}});
    }
    QDBusObjectPath SelectDevices(const QDBusObjectPath&, const QVariantMap& options) {
        QString detail = "types=" + options.value("types").toString();
        if (options.contains("persist_mode")) {
            detail += " persist=" + options.value("persist_mode").toString();
        }
        if (options.contains("restore_token")) {
            detail += " token=" + options.value("restore_token").toString();
        }
        calls << "SelectDevices " + detail;
        return answer(options, 0, {});
    }
    QDBusObjectPath Start(const QDBusObjectPath&, const QString& parent, const QVariantMap& options) {
        calls << "Start " + parent;
        QVariantMap results{{"devices", 3u}};
        if (!returnedToken.isEmpty()) {
            results.insert("restore_token", returnedToken);
        }
        return answer(options, startResponse, results, !startUnanswered);
    }
    void NotifyPointerMotion(const QDBusObjectPath&, const QVariantMap&, double dx, double dy) {
        calls << QString("Motion %1,%2").arg(dx).arg(dy);
    }
    void NotifyKeyboardKeysym(const QDBusObjectPath&, const QVariantMap&, int keysym, uint state) {
        calls << QString("Key %1 %2").arg(keysym, 0, 16).arg(state);
        if (keyReply == KeyReply::Denied) {
            // What the portal answers for a session it does not know.
            sendErrorReply(QDBusError::AccessDenied, "Invalid session");
        } else if (keyReply == KeyReply::Hang) {
            QThread::msleep(1300);
        }
    }

  private:
    // Replies with the request's path, then answers through its Response signal, as the portal does.
    QDBusObjectPath answer(const QVariantMap& options, uint response, const QVariantMap& results,
                           bool respond = true) {
        QString sender = message().service().mid(1);
        sender.replace('.', '_');
        const QString path = "/org/freedesktop/portal/desktop/request/" + sender + "/" +
                             options.value("handle_token").toString();
        setDelayedReply(true);
        connection().send(message().createReply(QVariant::fromValue(QDBusObjectPath(path))));
        if (!respond) {
            return QDBusObjectPath(path);
        }
        QDBusMessage signal = QDBusMessage::createSignal(path, "org.freedesktop.portal.Request", "Response");
        signal << response << results;
        connection().send(signal);
        return QDBusObjectPath(path);
    }
};

// A session bus of the test's own, with the fake portal on it in a thread of its own (the client's calls
// block the test's thread).
class PortalKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TestApplication();
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(daemon_.waitForReadyRead(5000)) << "no dbus-daemon";
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        portalBus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, "portal"));
        ASSERT_TRUE(portalBus_->isConnected());
        portal_.moveToThread(&thread_);
        thread_.start();
        ASSERT_TRUE(portalBus_->registerObject(
            "/org/freedesktop/portal/desktop", &portal_,
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        ASSERT_TRUE(portalBus_->registerService("org.freedesktop.portal.Desktop"));
    }
    void TearDown() override {
        thread_.quit();
        thread_.wait();
        QDBusConnection::disconnectFromBus("portal");
        QDBusConnection::disconnectFromBus("client");
        daemon_.kill();
        daemon_.waitForFinished();
    }

    void lookLikeGnome() { ASSERT_TRUE(portalBus_->registerService("org.gnome.Mutter.RemoteDesktop")); }

    // The user pressed Stop in the desktop's indicator.
    void endSessionInTheDesktop() {
        portalBus_->send(
            QDBusMessage::createSignal(portal_.lastSession, "org.freedesktop.portal.Session", "Closed")
            << QVariantMap());
    }
    // The portal's service restarted: its name left the bus and came back.
    void restartPortal() {
        ASSERT_TRUE(portalBus_->unregisterService("org.freedesktop.portal.Desktop"));
        ASSERT_TRUE(portalBus_->registerService("org.freedesktop.portal.Desktop"));
    }
    void storeToken(const char* token) {
        std::filesystem::create_directories(std::filesystem::path(tokenPath()).parent_path());
        std::ofstream(tokenPath()) << token;
    }

    std::unique_ptr<PortalNativeKeyboard> keyboard() {
        return std::make_unique<PortalNativeKeyboard>(QDBusConnection::connectToBus(address_, "client"),
                                                      tokenPath(), nullptr);
    }
    std::string tokenPath() const { return folder_.text() + "state/zenporo/remote-desktop-token"; }
    std::string storedToken() const { return FileBytes(tokenPath()); }

    FakePortal portal_;

  private:
    QProcess daemon_;
    QString address_;
    std::unique_ptr<QDBusConnection> portalBus_;
    QThread thread_;
    TemporaryFolder folder_;
};

using State = NativeKeyboard::State;

TEST_F(PortalKeyboardTest, EachAnswerOfTheDialogLeavesItsStateAndTheTokenForTheNextRun) {
    struct Row {
        uint version;
        uint response;
        std::string stored;
        State after;
        const char* selectDevices;
        std::string storedAfter;
    };
    const Row rows[] = {
        {1, 0, "", State::Ready, "SelectDevices types=3", ""},
        {2, 0, "", State::Ready, "SelectDevices types=3 persist=2", "new"},
        {2, 0, "old", State::Ready, "SelectDevices types=3 persist=2 token=old", "new"},
        {2, 1, "", State::Refused, "SelectDevices types=3 persist=2", ""},
        // A token the desktop no longer honours is dropped, so the next click asks with a dialog.
        {2, 2, "old", State::NotAsked, "SelectDevices types=3 persist=2 token=old", ""},
        {1, 2, "", State::Unavailable, "SelectDevices types=3", ""},
    };
    lookLikeGnome();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "version " << row.version << ", response " << row.response);
        portal_.portalVersion = row.version;
        portal_.startResponse = row.response;
        portal_.returnedToken = "new";
        portal_.calls.clear();
        std::filesystem::remove(tokenPath());
        if (!row.stored.empty()) {
            std::filesystem::create_directories(std::filesystem::path(tokenPath()).parent_path());
            std::ofstream(tokenPath()) << row.stored;
        }
        const auto client = keyboard();
        std::vector<State> told;
        client->setChangeListener([&](NativeKeyboard::Change) { told.push_back(client->state()); });
        ASSERT_EQ(client->state(), State::NotAsked);
        EXPECT_EQ(client->remembersConsent(), row.version >= 2);
        client->askConsent(0x4a00007);
        EXPECT_TRUE(QTest::qWaitFor([&] { return client->state() != State::Asking; }, 5000));
        EXPECT_EQ(client->state(), row.after);
        EXPECT_EQ(told, std::vector<State>{row.after});
        EXPECT_EQ(storedToken(), row.storedAfter);
        if (row.after == State::Ready) {
            EXPECT_EQ(client->keys().sendChord({Key::Control, Key::V}, [] { return true; }),
                      ChordResult::Sent);
        }
        QTest::qWait(50);
        QStringList expected{"CreateSession", row.selectDevices, "Start x11:4a00007"};
        if (row.after == State::Ready) {
            // The warm-up, then Ctrl+V as keysyms.
            expected << "Motion 0,0"
                     << "Key ffe3 1"
                     << "Key 76 1"
                     << "Key ffe3 0"
                     << "Key 76 0";
        }
        EXPECT_EQ(portal_.calls.join(" | ").toStdString(), expected.join(" | ").toStdString());
    }
}

using Change = NativeKeyboard::Change;

// A kept allowance is used once per ask, forgotten when the user stops the session, and kept when the portal
// loses the session on its own.
TEST_F(PortalKeyboardTest, TheKeptAllowanceGoesOnlyWhenTheUserEndsTheSession) {
    lookLikeGnome();
    portal_.returnedToken = "new";
    storeToken("old");
    const auto client = keyboard();
    std::vector<Change> told;
    client->setChangeListener([&told](Change change) { told.push_back(change); });
    ASSERT_TRUE(client->hasKeptConsent());
    client->askConsent(0x4a00007);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client->state() == State::Ready; }, 5000));

    // The portal lost the session: the next click asks again, with the allowance kept.
    portal_.keyReply = FakePortal::KeyReply::Denied;
    EXPECT_EQ(client->keys().sendChord({Key::Control, Key::V}, [] { return true; }), ChordResult::KeyFailed);
    EXPECT_EQ(client->state(), State::NotAsked);
    EXPECT_EQ(storedToken(), "new");
    // An ask that fails before it used the allowance leaves it alone.
    portal_.createResponse = 2;
    client->askConsent(0x4a00007);
    EXPECT_TRUE(QTest::qWaitFor([&] { return client->state() == State::Unavailable; }, 5000));
    EXPECT_EQ(storedToken(), "new");

    // The next run restores it; the user's Stop in the desktop forgets it, so the dialog comes next time.
    portal_.createResponse = 0;
    portal_.keyReply = FakePortal::KeyReply::Done;
    const auto nextRun = keyboard();
    nextRun->setChangeListener([&told](Change change) { told.push_back(change); });
    nextRun->askConsent(0x4a00007);
    ASSERT_TRUE(QTest::qWaitFor([&] { return nextRun->state() == State::Ready; }, 5000));
    endSessionInTheDesktop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return nextRun->state() == State::NotAsked; }, 5000));
    EXPECT_EQ(storedToken(), "");
    EXPECT_FALSE(nextRun->hasKeptConsent());
    EXPECT_EQ(told, (std::vector{Change::Allowed, Change::ServiceRestarted, Change::Failed, Change::Allowed,
                                 Change::EndedByDesktop}));
}

// A portal that hangs costs one key's wait, then none until it restarts; a restart ends an open dialog too.
TEST_F(PortalKeyboardTest, AHungOrRestartedPortalIsLeftAndAskedAgainOnceItIsBack) {
    lookLikeGnome();
    portal_.portalVersion = 1;
    const auto client = keyboard();
    std::vector<Change> told;
    client->setChangeListener([&told](Change change) { told.push_back(change); });
    client->askConsent(0x4a00007);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client->state() == State::Ready; }, 5000));
    portal_.keyReply = FakePortal::KeyReply::Hang;
    portal_.calls.clear();
    EXPECT_EQ(client->keys().sendChord({Key::Control, Key::V}, [] { return true; }), ChordResult::KeyFailed);
    EXPECT_EQ(client->state(), State::Unavailable);
    QTest::qWait(600);
    EXPECT_EQ(portal_.calls, QStringList{"Key ffe3 1"}) << "no V, and no release into a hung portal";

    portal_.keyReply = FakePortal::KeyReply::Done;
    restartPortal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return client->state() == State::NotAsked; }, 5000));
    portal_.startUnanswered = true;
    client->askConsent(0x4a00007);
    QTest::qWait(200);
    EXPECT_EQ(client->state(), State::Asking);
    restartPortal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return client->state() == State::NotAsked; }, 5000));
    EXPECT_EQ(told, (std::vector{Change::Allowed, Change::Hung, Change::ServiceRestarted,
                                 Change::ServiceRestarted}));
}

TEST_F(PortalKeyboardTest, OnlyGnomeIsOffered) {
    const auto client = keyboard();
    EXPECT_EQ(client->state(), State::Unavailable);
    EXPECT_TRUE(portal_.calls.isEmpty());
}

}  // namespace

#include "portal_native_keyboard_test.moc"
