// The test stack for KDE Plasma proves itself and the program's pieces for it: KWin offers the data-control
// clipboard to an ordinary client, the remote desktop portal starts a session without a dialog and its keys
// reach the focused native window, and the KWin script reports the active window as the focus moves.

#include "kwin_session.h"
#include "native_target.h"
#include "x11_test_support.h"

#include "platform/kde/kwin_active_window.h"
#include "platform/portal/portal_native_keyboard.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>

namespace {

using x11test::waitUntil;

std::unique_ptr<KWinSession> sharedSession;

class SessionEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        sharedSession = std::make_unique<KWinSession>();
        if (!sharedSession->ready()) {
            return;
        }
        std::cout << "KWin, Xwayland and the portal started in " << sharedSession->startupTime().count()
                  << " ms\n";
        sharedSession->exportEnvironment();
        setenv("QT_QPA_PLATFORM", "xcb", 1);  // the test process is an X11 client, as the program is
        x11test::application();
    }
    void TearDown() override { sharedSession.reset(); }
};

class KWinStackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!sharedSession->ready()) {
            GTEST_SKIP() << "no KWin session: " << sharedSession->failure();
        }
    }
    static KWinSession& session() { return *sharedSession; }
    // Activates the window through KWin until it has the keyboard focus.
    static bool focus(const char* caption, x11test::TargetApp& window) {
        return waitUntil([&] { return session().activate(caption) && window.state("focus") == "0"; });
    }
    static QDBusMessage scripting(const char* method, const QVariantList& arguments) {
        QDBusMessage call =
            QDBusMessage::createMethodCall("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", method);
        call.setArguments(arguments);
        return QDBusConnection::sessionBus().call(call);
    }
};

TEST_F(KWinStackTest, DataControlIsOfferedAndPortalKeysReachTheFocusedNativeWindowWithoutADialog) {
    const std::vector<std::string> globals = session().waylandGlobals();
    EXPECT_NE(std::find(globals.begin(), globals.end(), "zwlr_data_control_manager_v1"), globals.end());

    NativeTarget target("native one");
    ASSERT_TRUE(target.waitReady());
    ASSERT_TRUE(focus("native one", target)) << session().diagnostics();

    PortalNativeKeyboard gnomeOnly(QDBusConnection::sessionBus(), "", nullptr);
    EXPECT_EQ(gnomeOnly.state(), NativeKeyboard::State::Unavailable);
    PortalNativeKeyboard keyboard(QDBusConnection::sessionBus(), "", nullptr,
                                  PortalNativeKeyboard::Desktops::GnomeAndKde);
    ASSERT_EQ(keyboard.state(), NativeKeyboard::State::NotAsked) << session().diagnostics();
    EXPECT_EQ(keyboard.desktop(), PortalNativeKeyboard::Desktop::Kde);
    EXPECT_FALSE(keyboard.asksConsentWithDialog());
    keyboard.askConsent(0);
    ASSERT_TRUE(keyboard.waitServingEvents(
        std::chrono::seconds(10), [&] { return keyboard.state() != NativeKeyboard::State::Asking; }));
    ASSERT_EQ(keyboard.state(), NativeKeyboard::State::Ready) << session().diagnostics();

    // v types a letter; Tab moves the focus to the window's second box.
    KeyInput& keys = keyboard.keys();
    ASSERT_TRUE(keys.press(Key::V) && keys.release(Key::V));
    ASSERT_TRUE(keys.press(Key::Tab) && keys.release(Key::Tab));
    EXPECT_TRUE(waitUntil([&] { return target.state("first") == "v" && target.state("focus") == "1"; }))
        << "holds \"" << target.state("first").toStdString() << "\", focus "
        << target.state("focus").toStdString();
}

TEST_F(KWinStackTest, TheScriptReportsTheActiveWindowAsTheFocusMovesAndIsUnloadedAtTheEnd) {
    NativeTarget first("native one");
    NativeTarget second("native two");
    ASSERT_TRUE(first.waitReady() && second.waitReady());
    QWidget own;
    own.setWindowTitle("own window");
    own.show();

    // A script under our name that a crashed run left loaded.
    QTemporaryDir folder;
    QFile staleScript(folder.filePath("stale.js"));
    ASSERT_TRUE(staleScript.open(QIODevice::WriteOnly));
    staleScript.close();
    const QDBusReply<int> staleId =
        scripting("loadScript", {staleScript.fileName(), QString(KWinActiveWindow::kPluginName)});
    ASSERT_TRUE(staleId.isValid() && staleId.value() >= 0);

    auto watcher = std::make_unique<KWinActiveWindow>(QDBusConnection::sessionBus(), nullptr);
    ASSERT_TRUE(watcher->waitForReport(std::chrono::seconds(5))) << session().diagnostics();
    std::string firstId;
    for (const char* caption : {"native one", "native two", "native one"}) {
        x11test::TargetApp& window = caption == std::string("native one") ? first : second;
        ASSERT_TRUE(focus(caption, window));
        EXPECT_TRUE(waitUntil([&] {
            const auto active = watcher->activeWindow();
            return active && active->caption == caption;
        })) << caption;
        const ActiveWindowReport active = *watcher->activeWindow();
        EXPECT_FALSE(KWinActiveWindow::isOwn(active));
        EXPECT_GT(active.pid, 0);
        EXPECT_FALSE(active.resourceClass.empty());
        if (firstId.empty()) {
            firstId = active.id;
        }
        EXPECT_EQ(active.id == firstId, caption == std::string("native one"));
    }
    // The program's own X11 windows are told apart by its process.
    EXPECT_TRUE(waitUntil([&] {
        session().activate("own window");
        const auto active = watcher->activeWindow();
        return active && active->caption == "own window" && KWinActiveWindow::isOwn(*active);
    }));

    watcher.reset();
    const QDBusReply<bool> loaded = scripting("isScriptLoaded", {QString(KWinActiveWindow::kPluginName)});
    EXPECT_TRUE(loaded.isValid() && !loaded.value());
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SessionEnvironment);  // GoogleTest owns and deletes it
    return RUN_ALL_TESTS();
}
