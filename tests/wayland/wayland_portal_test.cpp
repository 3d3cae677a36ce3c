// The test stack for the desktop portal in a Wayland session proves itself: clicks and keys through the
// compositor reach the windows and move the focus as a user's would, and the real portal frontend with the
// test backend brings a granted session's keys to a native Wayland window, and nothing after a refusal.

#include "compositor_input.h"
#include "native_target.h"
#include "portal_client.h"
#include "portal_stack.h"
#include "wayland_session.h"
#include "wayland_test_main.h"
#include "x11_test_support.h"
#include "zenporo_run.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

using x11test::waitUntil;

constexpr uint kControlL = 0xffe3;
constexpr uint kV = 0x76;
constexpr uint kTab = 0xff09;
constexpr uint kA = 0x61;
constexpr uint kB = 0x62;
const QString kParentWindow = "x11:2a00003";

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Like the program's toolbar: on top of all, never taking the focus; clear of the windows the window manager
// places. Remembers whether the pointer entered and where it was pressed.
class Toolbar : public QWidget {
  public:
    Toolbar() {
        setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
        setGeometry(600, 500, 300, 30);
        show();
    }
    bool entered = false;
    std::optional<QPoint> pressedAt;

  protected:
    void enterEvent(QEnterEvent*) override { entered = true; }
    void mousePressEvent(QMouseEvent* event) override { pressedAt = event->globalPosition().toPoint(); }
};

class PortalStackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const WaylandSession* session = waylandtest::session();
        if (session == nullptr || !session->ready()) {
            GTEST_SKIP() << "no Wayland compositor: " << (session ? session->failure() : "");
        }
        portal = waylandtest::portal();
        ASSERT_TRUE(portal->ready()) << portal->failure();
        portal->setAnswer(PortalStack::Answer::Grant);
        input = waylandtest::input();
        ASSERT_TRUE(input->ready()) << input->failure().toStdString();
    }

    // The native target, with the keyboard focus in its first box.
    std::unique_ptr<NativeTarget> startNative() {
        auto native = std::make_unique<NativeTarget>(u("native form"));
        EXPECT_TRUE(native->waitReady());
        EXPECT_TRUE(waitUntil([&] { return native->state("focus") == "0"; }))
            << "the native window has no focus";
        return native;
    }

    // The backend's calls from the last Start on.
    std::vector<PortalCall> callsSinceStart() const {
        const std::vector<PortalCall> calls = portal->calls();
        const auto start = std::find_if(calls.rbegin(), calls.rend(),
                                        [](const PortalCall& c) { return c.method == "Start"; });
        return start == calls.rend() ? std::vector<PortalCall>{}
                                     : std::vector<PortalCall>(std::prev(start.base()), calls.end());
    }

    PortalStack* portal = nullptr;
    CompositorInput* input = nullptr;
};

TEST_F(PortalStackTest, ACompositorClickLandsExactlyAndOnlyAFocusableX11WindowTakesTheFocusFromANativeOne) {
    x11test::TargetApp form(u("X11 フォーム"));
    ASSERT_TRUE(form.waitReady());
    const std::unique_ptr<NativeTarget> native = startNative();
    Toolbar toolbar;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&toolbar));

    const QPoint onToolbar = toolbar.mapToGlobal(QPoint(37, 11));
    ASSERT_TRUE(waitUntil([&] { return input->moveTo(onToolbar) && toolbar.entered; }))
        << "the compositor does not show the toolbar " << input->failure().toStdString();
    ASSERT_TRUE(input->click(onToolbar));
    ASSERT_TRUE(input->tapKey(kA));
    ASSERT_TRUE(waitUntil([&] { return toolbar.pressedAt.has_value(); })) << "the click missed the toolbar";
    EXPECT_EQ(*toolbar.pressedAt, onToolbar);
    EXPECT_TRUE(waitUntil([&] { return native->state("first") == "a"; }))
        << "the key after the click went astray";
    EXPECT_EQ(native->state("focus").toStdString(), "0");

    // The control: a window that takes the focus does take it, as a test of "the focus stays" needs.
    ASSERT_TRUE(input->click(x11test::Desktop().clientRect(form.window()).topLeft() + QPoint(5, 5)));
    EXPECT_TRUE(waitUntil([&] { return form.state("focus") == "0" && native->state("focus") == "none"; }))
        << "X11 form focus " << form.state("focus").toStdString() << ", native focus "
        << native->state("focus").toStdString();
}

TEST_F(PortalStackTest, AGrantedSessionPastesTheX11ClipboardIntoTheNativeWindowAndMovesOnWithTab) {
    const std::unique_ptr<NativeTarget> native = startNative();
    QGuiApplication::clipboard()->setText(u("東京都千代田区"));

    PortalClient client;
    const auto started = client.startSession(kParentWindow);
    ASSERT_TRUE(started) << client.failure().toStdString() << "\n" << portal->diagnostics();
    EXPECT_EQ(started->response, 0u);
    EXPECT_EQ(started->results.value("devices").toUInt(), 3u);
    EXPECT_TRUE(client.notify("NotifyPointerMotion", {0.0, 0.0})) << client.failure().toStdString();
    std::vector<PortalCall> expected = {{"Start", {kParentWindow, "grant"}},
                                        {"NotifyPointerMotion", {"0", "0"}}};
    for (const auto& [keysym, pressed] : std::vector<std::pair<uint, uint>>{
             {kControlL, 1}, {kV, 1}, {kV, 0}, {kControlL, 0}, {kTab, 1}, {kTab, 0}}) {
        EXPECT_TRUE(client.notify("NotifyKeyboardKeysym", {int(keysym), pressed}))
            << client.failure().toStdString();
        expected.push_back(
            {"NotifyKeyboardKeysym", {"0x" + QString::number(keysym, 16), QString::number(pressed)}});
    }

    EXPECT_TRUE(waitUntil([&] { return native->state("first") == u("東京都千代田区"); }))
        << native->state("first").toStdString() << "\n"
        << portal->diagnostics();
    EXPECT_TRUE(waitUntil([&] { return native->state("focus") == "1"; }));
    EXPECT_TRUE(waitUntil([&] { return callsSinceStart().size() >= expected.size(); }));
    EXPECT_EQ(callsSinceStart(), expected);
}

TEST_F(PortalStackTest, ARefusedSessionAnswersOneAndTheNativeWindowReceivesNothing) {
    const std::unique_ptr<NativeTarget> native = startNative();
    portal->setAnswer(PortalStack::Answer::Refuse);

    PortalClient client;
    const auto started = client.startSession(kParentWindow);
    ASSERT_TRUE(started) << client.failure().toStdString() << "\n" << portal->diagnostics();
    EXPECT_EQ(started->response, 1u);
    EXPECT_FALSE(client.notify("NotifyKeyboardKeysym", {int(kA), 1U}));

    // A key of the compositor's own arrives alone.
    ASSERT_TRUE(input->tapKey(kB));
    EXPECT_TRUE(waitUntil([&] { return native->state("first") == "b"; }))
        << native->state("first").toStdString();
    const std::vector<PortalCall> calls = callsSinceStart();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), (PortalCall{"Start", {kParentWindow, "refuse"}}));
    EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](const PortalCall& call) {
        return call.method.startsWith("Notify");
    })) << calls.back();
}

}  // namespace

int main(int argc, char** argv) {
    return waylandtest::runTests(argc, argv, true);
}
