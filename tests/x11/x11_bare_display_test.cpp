// The delivery on a display without a window manager: the window tree gives the stacking order and the
// focus is set directly.

#include "data/sjis.h"
#include "platform/steady_clock.h"
#include "platform/thread_sleeper.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_platform.h"
#include "support/delivery_result_printer.h"
#include "toolbar/delivery.h"
#include "x11_test_support.h"

#include <gtest/gtest.h>

namespace {

using x11test::TargetApp;
using x11test::waitUntil;

TEST(X11BareDisplay, PastesAndTabsWithoutAWindowManager) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "needs an X display";
    }
    x11test::application();
    x11test::BareDisplay bare;
    if (bare.name().isEmpty()) {
        GTEST_SKIP() << "could not start a second Xvfb";
    }
    const QByteArray displayName = bare.name().toLocal8Bit();

    // The target owns the clipboard of that display itself: ours lives on the test's own display.
    const QString text = QString::fromUtf8("窓枠なし");
    TargetApp target(QString::fromUtf8("素の画面"), {"--own-clipboard=" + text}, {"DISPLAY=" + bare.name()});
    ASSERT_TRUE(target.waitReady());

    const std::shared_ptr<X11Display> ours = X11Display::open(displayName.constData());
    ASSERT_TRUE(ours);
    const WindowHandle toolbar = x11test::showOwnWindow(*ours);

    std::optional<X11Delivery> delivery = openX11Delivery(displayName.constData());
    ASSERT_TRUE(delivery);
    ASSERT_TRUE(waitUntil([&] { return delivery->windows->findWindowBelow(toolbar) == target.window(); }));
    EXPECT_EQ(delivery->windows->windowTitle(target.window()), sjis::fromUtf8("素の画面"));
    EXPECT_EQ(delivery->windows->windowTitle(toolbar), sjis::fromUtf8("2×3 toolbar"));

    ThreadSleeper sleeper;
    SystemSteadyClock clock;
    ToolbarSettings settings;
    settings.PasteAfter = true;
    settings.AfterKey = 0;
    const DeliveryPorts ports{*delivery->windows, *delivery->keys, sleeper, clock};
    ASSERT_EQ(PasteIntoWindowBelow(settings, toolbar, ports), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return target.state("first") == text; }));
    EXPECT_TRUE(waitUntil([&] { return target.state("focus") == "1"; }));
}

}  // namespace
