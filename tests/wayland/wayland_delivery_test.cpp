// The delivery in a real Wayland session: a headless mutter with Xwayland, a native Wayland window and the
// X11 form of tests/x11/helpers/paste_target. As root the test runs itself again as an unprivileged user,
// since Xwayland serves only the user who started the compositor (see wayland_test_main.h).

#include "data/sjis.h"
#include "platform/log.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/steady_clock.h"
#include "platform/thread_sleeper.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_key_input.h"
#include "platform/x11/x11_window_order.h"
#include "support/delivery_result_printer.h"
#include "toolbar/delivery.h"
#include "wayland_session.h"
#include "wayland_test_main.h"
#include "x11_probe.h"
#include "x11_test_support.h"
#include "zenporo_run.h"

#include <QProcess>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using x11test::TargetApp;
using x11test::waitUntil;

class RecordingLog : public Log {
  public:
    std::vector<std::string> lines;
    void write(LogCategory, std::string_view message) override { lines.emplace_back(message); }
};

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A native Wayland window with a text box, the kind of window X11 cannot see.
class NativeWindow {
  public:
    NativeWindow() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GDK_BACKEND", "wayland");
        environment.insert("NO_AT_BRIDGE", "1");
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start("zenity", {"--entry", "--title=native form"});
    }
    ~NativeWindow() { close(); }
    bool running() const { return process_.state() == QProcess::Running; }
    void close() {
        process_.kill();
        process_.waitForFinished(5000);
    }

  private:
    QProcess process_;
};

class WaylandDeliveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = waylandtest::missingSession(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        display = X11Display::open();
        ASSERT_TRUE(display) << "Xwayland refused the connection";
        windows = makeX11WindowOrder(display);
        keys = makeX11KeyInput(display);
    }

    // Like the program's toolbar: on top of all, never taking the focus.
    bool showToolbar() {
        toolbar = std::make_unique<QWidget>();
        toolbar->setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
        toolbar->setWindowTitle(u("Zenporo！"));
        toolbar->setGeometry(10, 10, 300, 30);
        toolbar->show();
        return QTest::qWaitForWindowExposed(toolbar.get());
    }

    WindowHandle toolbarWindow() const { return static_cast<WindowHandle>(toolbar->winId()); }

    DeliveryResult paste(const char* utf8) {
        EXPECT_TRUE(clipboard.setText(sjis::fromUtf8(utf8)));
        return PasteIntoWindowBelow(settings, toolbarWindow(),
                                    DeliveryPorts{*windows, *keys, sleeper, clock, &log});
    }

    std::shared_ptr<X11Display> display;
    std::unique_ptr<WindowOrder> windows;
    std::unique_ptr<KeyInput> keys;
    std::unique_ptr<QWidget> toolbar;
    ThreadSleeper sleeper;
    SystemSteadyClock clock;
    QtClipboard clipboard;
    RecordingLog log;
    ToolbarSettings settings;
};

TEST_F(WaylandDeliveryTest, ANativeWindowInUseKeepsTheFocusAndTheX11WindowBelowGetsNothing) {
    EXPECT_TRUE(windows->isWaylandSession());
    TargetApp form(u("X11 フォーム"));
    ASSERT_TRUE(form.waitReady());
    ASSERT_TRUE(waitUntil([&] { return windows->lastActiveWindow() == form.window(); }));

    NativeWindow native;
    ASSERT_TRUE(waitUntil([&] { return windows->lastActiveWindow() == WindowHandle{0}; }))
        << "the native window did not take the focus; active " << windows->activeWindow() << ", zenity "
        << (native.running() ? "running" : "not running");
    // Newer mutter names a window of its own there, no client, while a native window has the focus.
    x11test::nameStrayWindowActive(*display);
    QTest::qWait(100);
    EXPECT_EQ(windows->lastActiveWindow(), WindowHandle{0});
    EXPECT_EQ(windows->activeWindow(), WindowHandle{0});
    // Shown once the native window has the focus: shown before it, from this process, mutter here left the
    // focus on the form when the native window came up.
    ASSERT_TRUE(showToolbar());
    ASSERT_EQ(windows->findWindowBelow(toolbarWindow()), form.window());
    const unsigned long focusBefore = x11test::inputFocus(*display);

    settings.PasteAfter = true;
    settings.AfterKey = 1;
    EXPECT_EQ(paste("東京都千代田区"), DeliveryResult::NotLastActive);
    QTest::qWait(500);
    EXPECT_EQ(form.state("first"), "");
    EXPECT_EQ(form.state("enters"), "0");
    EXPECT_EQ(x11test::inputFocus(*display), focusBefore);
    EXPECT_EQ(windows->lastActiveWindow(), WindowHandle{0}) << "the X11 window was activated";
    EXPECT_TRUE(native.running());
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("not the one last active"), std::string::npos) << log.lines[0];
    EXPECT_NE(log.lines[0].find("\"X11 フォーム\""), std::string::npos) << log.lines[0];

    // Back in the X11 form, the paste reaches it.
    native.close();
    ASSERT_TRUE(waitUntil([&] { return windows->lastActiveWindow() == form.window(); }))
        << "the form did not get the focus back";
    EXPECT_EQ(paste("大阪府"), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return form.state("first") == u("大阪府"); }))
        << form.state("first").toStdString();
    EXPECT_TRUE(waitUntil([&] { return form.state("enters") == "1"; }));
}

TEST_F(WaylandDeliveryTest, TheProgramIsAnX11WindowWhateverQtIsToldAndPastesOnlyWhereTheUserLeftOff) {
    TargetApp form(u("X11 フォーム"));
    ASSERT_TRUE(form.waitReady());
    ASSERT_TRUE(waitUntil([&] { return windows->lastActiveWindow() == form.window(); }));

    x11test::ZenporoFolder folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(folder.writeFile(u("山田花子.zpd"), x11test::userFileBytes(x11test::hanako())));
    ASSERT_TRUE(folder.writeFile("Zenpad.ini",
                                 "[Set]\r\nFrmStyle=1\r\nBtnDown=1\r\nPasteOK=1\r\nPasteAfter=0\r\n"
                                 "[Window]\r\nLeft=300\r\nTop=300\r\n"));
    // A Wayland session's own choice for Qt programs: the program must not follow it.
    qputenv("QT_QPA_PLATFORM", "wayland");
    x11test::ZenporoProcess run(folder);
    qputenv("QT_QPA_PLATFORM", "xcb");
    x11test::Desktop desktop;
    const unsigned long program = desktop.waitForWindow(run.pid(), u("山田花子 - Zenporo！"));
    ASSERT_NE(program, 0u) << "the toolbar is no X11 window";
    // The postal code button, the first of the open field row.
    const QPoint postalCode = desktop.clientRect(program).topLeft() + QPoint(77 + 11, 11);

    NativeWindow native;
    ASSERT_TRUE(waitUntil([&] { return windows->lastActiveWindow() == WindowHandle{0}; }))
        << "the native window did not take the focus";
    desktop.click(postalCode);
    // The user is told why nothing arrived, by a notice near the toolbar that takes no focus.
    unsigned long notice = 0;
    EXPECT_TRUE(waitUntil([&] {
        const std::vector<unsigned long> popups = desktop.popupsOf(run.pid());
        notice = popups.size() == 1 ? popups.front() : 0;
        return notice != 0;
    })) << "no notice";
    if (notice != 0) {
        EXPECT_EQ(desktop.title(notice), u("直前に使っていたウィンドウには自動で貼り付けられません。"
                                           "クリップボードにコピーしました（Ctrl+V で貼り付けられます）。"));
    }
    QTest::qWait(500);
    EXPECT_EQ(form.state("first"), "");
    EXPECT_EQ(windows->lastActiveWindow(), WindowHandle{0}) << "the X11 form was activated";

    native.close();
    ASSERT_TRUE(waitUntil([&] { return windows->lastActiveWindow() == form.window(); }));
    desktop.click(postalCode);
    EXPECT_TRUE(waitUntil([&] { return form.state("first") == "123-4567"; }))
        << form.state("first").toStdString();

    desktop.requestClose(program);
    EXPECT_TRUE(run.waitForCleanExit());
}

}  // namespace

int main(int argc, char** argv) {
    return waylandtest::runTests(argc, argv, false);
}
