// KDE Plasma's KWin with the program's pieces for it: the portal keyboard serves KWin only where asked to,
// the KWin script reports the active window as the focus moves, and the program pastes into the active native
// window through the portal's keys and the Wayland clipboard, or only copies where the script is missing.

#include "kwin_session.h"
#include "native_target.h"
#include "toolbar_run.h"
#include "x11_test_support.h"

#include "platform/kde/kwin_active_window.h"
#include "platform/portal/portal_native_keyboard.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
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

// The program's run on KWin below shows the portal's keys and the Wayland clipboard at work; here, that the
// portal keyboard serves KWin only where asked to, and says that Plasma 5.27 starts it without a dialog.
TEST_F(KWinStackTest, ThePortalKeyboardServesKWinOnlyWhereAskedTo) {
    const std::vector<std::string> globals = session().waylandGlobals();
    EXPECT_NE(std::find(globals.begin(), globals.end(), "zwlr_data_control_manager_v1"), globals.end());
    PortalNativeKeyboard gnomeOnly(QDBusConnection::sessionBus(), "", nullptr);
    EXPECT_EQ(gnomeOnly.state(), NativeKeyboard::State::Unavailable);
    PortalNativeKeyboard keyboard(QDBusConnection::sessionBus(), "", nullptr,
                                  PortalNativeKeyboard::Desktops::GnomeAndKde);
    ASSERT_EQ(keyboard.state(), NativeKeyboard::State::NotAsked) << session().diagnostics();
    EXPECT_EQ(keyboard.desktop(), PortalNativeKeyboard::Desktop::Kde);
    EXPECT_FALSE(keyboard.asksConsentWithDialog());
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
            const auto active = watcher->lastReport();
            return active && active->caption == caption;
        })) << caption;
        const ActiveWindowReport active = *watcher->lastReport();
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
        const auto active = watcher->lastReport();
        return active && active->caption == "own window" && KWinActiveWindow::isOwn(*active);
    }));

    watcher.reset();
    const QDBusReply<bool> loaded = scripting("isScriptLoaded", {QString(KWinActiveWindow::kPluginName)});
    EXPECT_TRUE(loaded.isValid() && !loaded.value());
}

// The real program on KWin. KWin never sees the test's X11 clicks (XTest, inside Xwayland), as it leaves the
// native window active at a real click on the toolbar.
class ZenporoKWinTest : public KWinStackTest, public ToolbarRun {
  protected:
    void TearDown() override { stop(); }
    // Clicks as XTest makes them, inside Xwayland.
    class XTestPointer : public SessionInput {
      public:
        explicit XTestPointer(x11test::Desktop& desktop) : desktop_(desktop) {}
        bool moveTo(QPoint point) override {
            desktop_.movePointer(point);
            return true;
        }
        bool click(QPoint point) override {
            desktop_.click(point);
            return true;
        }
        // Keys go through the portal in these tests.
        bool tapKey(std::uint32_t) override { return false; }

      private:
        x11test::Desktop& desktop_;
    };
    void clickField(int position) {
        XTestPointer pointer(desktop);
        ToolbarRun::clickField(pointer, position);
    }
};

TEST_F(ZenporoKWinTest, AClickPastesIntoTheActiveNativeWindowWithoutADialogAndTabAfterIt) {
    start();
    NativeTarget first(QString::fromUtf8("native one"));
    NativeTarget second(QString::fromUtf8("native two"));
    ASSERT_TRUE(first.waitReady() && second.waitReady());
    ASSERT_TRUE(focus("native two", second));

    expectTwoPastesWithTab([this](int position) { clickField(position); }, second, first);
}

// Without the KWin script (here its folder cannot be made) the program cannot know which window the keys
// would reach: the detail stays on the clipboard, a notice says so, and no key goes anywhere.
TEST_F(ZenporoKWinTest, WithoutTheScriptTheClickOnlyCopiesAndSaysSo) {
    QFile blocker(QDir(folder.runtimeFolder()).filePath("zenporo"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    start();
    NativeTarget native(QString::fromUtf8("native one"));
    ASSERT_TRUE(native.waitReady());
    ASSERT_TRUE(focus("native one", native));

    clickField(0);
    expectOnlyCopied(
        "デスクトップが入力中のウィンドウを知らせなかったため、貼り付けませんでした。クリップボードにコピーし"
        "ました"
        "（Ctrl+V で貼り付けられます）。",
        native);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SessionEnvironment);  // GoogleTest owns and deletes it
    return RUN_ALL_TESTS();
}
