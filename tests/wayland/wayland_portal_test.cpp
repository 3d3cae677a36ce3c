// The test stack for the desktop portal in a Wayland session proves itself: clicks and keys through the
// compositor reach the windows and move the focus as a user's would, and the real portal frontend with the
// test backend brings a granted session's keys to a native Wayland window, and nothing after a refusal.

#include "compositor_input.h"
#include "native_target.h"
#include "portal_session_test.h"
#include "portal_stack.h"
#include "stand_in_toolbar.h"
#include "toolbar_run.h"
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

constexpr uint kA = 0x61;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class PortalStackTest : public PortalSessionTest {
  protected:
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
};

TEST_F(PortalStackTest, ACompositorClickLandsExactlyAndOnlyAFocusableX11WindowTakesTheFocusFromANativeOne) {
    x11test::TargetApp form(u("X11 フォーム"));
    ASSERT_TRUE(form.waitReady());
    const std::unique_ptr<NativeTarget> native = startNative();
    StandInToolbar toolbar(QRect(600, 500, 300, 30));
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

// The real program, its toolbar clicked through the compositor while a native window has the keyboard focus.
class ZenporoPortalTest : public PortalStackTest, public ToolbarRun {
  protected:
    void startToolbar() { start(); }
    void TearDown() override { stop(); }
    void clickField(int position) { ToolbarRun::clickField(*input, position); }
};

constexpr const char* kConsentNotice =
    "Wayland のウィンドウに貼り付けるため、「リモートデスクトップ」の許可を求めます（確認は Zenporo "
    "を起動するたびに"
    "一度）。許可すると、次のクリックから、キーボードで入力中のウィンドウに貼り付け、設定の Tab や Enter "
    "もそこで"
    "押します。クリップボードにコピーしました（Ctrl+V で貼り付けられます）。";

// In the order a user meets it: the toolbar starts with the desktop, then a native window opens, and no X11
// window ever has the focus (the compositor then never names an active X11 window).
TEST_F(ZenporoPortalTest, AfterOneConsentEveryClickPastesIntoTheNativeWindowWithTheKeyboardFocus) {
    startToolbar();
    const std::unique_ptr<NativeTarget> native = startNative();

    // The first click only asks, for the toolbar's window, and says why.
    clickField(0);
    EXPECT_TRUE(noticeShows(kConsentNotice));
    EXPECT_TRUE(waitUntil([&] {
        return !callsSinceStart().empty() &&
               callsSinceStart().front() ==
                   PortalCall{"Start", {"x11:" + QString::number(toolbar, 16), "grant"}};
    })) << portal->diagnostics();
    EXPECT_TRUE(
        noticeShows("「リモートデスクトップ」が許可されました。次のクリックから、キーボードで入力中の"
                    "ウィンドウに貼り付けます。"));
    EXPECT_EQ(native->state("first"), "");

    // Three pastes in a row, each followed by TAB, go where the keyboard focus is.
    clickField(0);
    EXPECT_TRUE(waitUntil([&] {
        return native->state("first") == "123-4567" && native->state("focus") == "1";
    })) << native->state("first").toStdString()
        << " " << native->state("focus").toStdString();
    clickField(2);
    EXPECT_TRUE(waitUntil([&] {
        return native->state("second") == u("山田花子") && native->state("focus") == "0";
    })) << native->state("second").toStdString();
    // TAB into a box selects its text, which the paste replaces.
    clickField(1);
    EXPECT_TRUE(waitUntil([&] {
        return native->state("first") == u("東京都千代田区千代田１－１ゼンポロビル３階");
    })) << native->state("first").toStdString();
}

TEST_F(ZenporoPortalTest, ARefusedConsentLeavesTheDetailOnTheClipboardAndSendsNothing) {
    portal->setAnswer(PortalStack::Answer::Refuse);
    const std::unique_ptr<NativeTarget> native = startNative();
    startToolbar();

    const char* refused =
        "「リモートデスクトップ」が許可されなかったため、貼り付けませんでした。Zenporo を起動し直すと、"
        "もう一度許可を求めます。クリップボードにコピーしました（Ctrl+V で貼り付けられます）。";
    // The dialog's answer replaces the notice of the click that asked.
    clickField(0);
    EXPECT_TRUE(noticeShows(refused));
    // Not asked again in this run.
    clickField(2);
    EXPECT_TRUE(noticeShows(refused));
    QTest::qWait(300);
    EXPECT_EQ(native->state("first"), "");
    EXPECT_EQ(native->state("focus"), "0");
    const std::vector<PortalCall> calls = callsSinceStart();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), (PortalCall{"Start", {"x11:" + QString::number(toolbar, 16), "refuse"}}));
    EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](const PortalCall& call) {
        return call.method.startsWith("Notify");
    })) << calls.back();
}

// The desktop's portal service restarts between two clicks: its session is gone, so the next click asks
// again instead of failing at every key. Last: the restart leaves the old session's input devices behind.
TEST_F(ZenporoPortalTest, AfterThePortalRestartsTheNextClickAsksAgain) {
    startToolbar();
    const std::unique_ptr<NativeTarget> native = startNative();
    clickField(0);
    EXPECT_TRUE(
        noticeShows("「リモートデスクトップ」が許可されました。次のクリックから、キーボードで入力中の"
                    "ウィンドウに貼り付けます。"));

    const auto starts = [this] {
        const std::vector<PortalCall> calls = portal->calls();
        return std::count_if(calls.begin(), calls.end(),
                             [](const PortalCall& c) { return c.method == "Start"; });
    };
    const auto startsBefore = starts();
    // The notice comes as the service goes, and stays a few seconds: a loaded machine may take longer to
    // start the service again.
    portal->stopFrontend();
    EXPECT_TRUE(
        noticeShows("「リモートデスクトップ」のサービスが再起動したため、接続が切れました。"
                    "次のクリックで、もう一度許可を求めます。"));
    ASSERT_TRUE(portal->startFrontend()) << portal->diagnostics();
    clickField(0);
    EXPECT_TRUE(noticeShows(kConsentNotice));
    EXPECT_TRUE(waitUntil([&] { return starts() == startsBefore + 1; })) << portal->diagnostics();
    EXPECT_EQ(native->state("first"), "");
}

}  // namespace

int main(int argc, char** argv) {
    return waylandtest::runTests(argc, argv, true);
}
