// The delivery against real X11: a real target application below an always-on-top toolbar, the real
// clipboard and real XTest keys, on the display that DISPLAY names (Xvfb with openbox in the test script).

#include "data/sjis.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_sjis.h"
#include "platform/steady_clock.h"
#include "platform/thread_sleeper.h"
#include "platform/x11/x11_clipboard.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_key_input.h"
#include "platform/x11/x11_platform.h"
#include "platform/x11/x11_window_order.h"
#include "support/delivery_result_printer.h"
#include "toolbar/delivery.h"
#include "x11_probe.h"
#include "x11_test_support.h"

#include <QTest>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

using x11test::TargetApp;
using x11test::waitUntil;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class X11DeliveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            GTEST_SKIP() << "needs an X display";
        }
        x11test::application();
        display = X11Display::open();
        ASSERT_TRUE(display);
        windows = makeX11WindowOrder(display);
        keys = makeX11KeyInput(display);
        toolbar = std::make_unique<x11test::Toolbar>();
    }

    DeliveryPorts ports() { return {*windows, *keys, sleeper, clock}; }

    std::optional<WindowHandle> below() { return windows->findWindowBelow(toolbar->window()); }

    // Waits until the target lies directly below the toolbar, as the user would see it before a click.
    bool isBelow(const TargetApp& target) {
        return waitUntil([&] { return below() == target.window(); });
    }

    // Puts the text on the clipboard and pastes it into the window below, starting from a focused toolbar.
    // Gives the toolbar the focus, as a click on it may, so that the delivery has to move it to the target.
    // Qt may still believe the toolbar active from before, so wait for the X server's own word.
    bool focusToolbar() {
        toolbar->widget().activateWindow();
        return waitUntil([&] { return windows->isActive(toolbar->window()); });
    }

    DeliveryResult paste(const char* utf8) {
        EXPECT_TRUE(focusToolbar());
        EXPECT_TRUE(clipboard.setText(sjis::fromUtf8(utf8)));
        return PasteIntoWindowBelow(settings, toolbar->window(), ports());
    }

    DeliveryResult next() {
        EXPECT_TRUE(focusToolbar());
        return PressNextKeyInWindowBelow(settings, toolbar->window(), ports());
    }

    std::shared_ptr<X11Display> display;
    std::unique_ptr<WindowOrder> windows;
    std::unique_ptr<KeyInput> keys;
    ThreadSleeper sleeper;
    SystemSteadyClock clock;
    QtClipboard clipboard;
    ToolbarSettings settings;
    std::unique_ptr<x11test::Toolbar> toolbar;
};

TEST_F(X11DeliveryTest, PastesIntoTheApplicationBelowAndMovesOnWithTabAndEnter) {
    TargetApp target(u("応募フォーム"));
    ASSERT_TRUE(target.waitReady());
    ASSERT_TRUE(isBelow(target));
    EXPECT_EQ(GetWindowBelowTitle(*windows, toolbar->window()), sjis::fromUtf8("応募フォーム"));

    settings.PasteAfter = true;
    settings.AfterKey = 0;
    ASSERT_EQ(paste("東京都千代田区１－２"), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return target.state("first") == u("東京都千代田区１－２"); }))
        << target.state("first").toStdString();
    EXPECT_TRUE(waitUntil([&] { return target.state("focus") == "1"; }));

    settings.PasteAfter = false;
    ASSERT_EQ(paste("ABC-123"), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return target.state("second") == "ABC-123"; }));
    EXPECT_EQ(target.state("focus"), "1");

    settings.NextKey = false;
    ASSERT_EQ(next(), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return target.state("enters") == "1"; }));

    settings.NextKey = true;
    ASSERT_EQ(next(), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return target.state("focus") == "0"; }));
    EXPECT_EQ(target.state("first"), u("東京都千代田区１－２"));
}

TEST_F(X11DeliveryTest, DuplicateAndLongTitlesStillReceiveTheTextBelow) {
    TargetApp lower(u("同じ題名"));
    ASSERT_TRUE(lower.waitReady());
    ASSERT_TRUE(isBelow(lower));
    TargetApp upper(u("同じ題名"));
    ASSERT_TRUE(upper.waitReady());
    ASSERT_TRUE(isBelow(upper));

    ASSERT_EQ(paste("上の窓"), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return upper.state("first") == u("上の窓"); }));
    EXPECT_EQ(lower.state("first"), "");

    const QString longTitle = QString(150, QChar(0x984C));  // 題, 300 bytes in Shift-JIS
    TargetApp longTitled(longTitle);
    ASSERT_TRUE(longTitled.waitReady());
    ASSERT_TRUE(isBelow(longTitled));
    EXPECT_EQ(windows->windowTitle(longTitled.window()), SjisFromQString(longTitle));

    ASSERT_EQ(paste("長い題名"), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return longTitled.state("first") == u("長い題名"); }));
    EXPECT_EQ(upper.state("first"), u("上の窓"));
}

TEST_F(X11DeliveryTest, IconifiedWindowIsSkippedByBothWalks) {
    TargetApp lower(u("下の窓"));
    ASSERT_TRUE(lower.waitReady());
    ASSERT_TRUE(isBelow(lower));
    TargetApp upper(u("隠す窓"));
    ASSERT_TRUE(upper.waitReady());
    ASSERT_TRUE(isBelow(upper));

    // The walk of the window tree finds the client inside the window manager's frame.
    const auto treeWalk = makeX11WindowOrder(display, StackingSource::WindowTree);
    EXPECT_EQ(treeWalk->findWindowBelow(toolbar->window()), upper.window());

    x11test::iconify(*display, upper.window());
    ASSERT_TRUE(isBelow(lower));
    EXPECT_TRUE(waitUntil([&] { return treeWalk->findWindowBelow(toolbar->window()) == lower.window(); }));

    ASSERT_EQ(paste("見える窓へ"), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return lower.state("first") == u("見える窓へ"); }));
    EXPECT_EQ(upper.state("first"), "");
}

TEST_F(X11DeliveryTest, NothingLiesBelowWhenOnlyOurOwnWindowsAreShown) {
    QWidget mainWindow;  // an ordinary window of this program, as the application's own window
    mainWindow.setWindowTitle(u("Zenporo！"));
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));

    EXPECT_EQ(below(), std::nullopt);
    const auto treeWalk = makeX11WindowOrder(display, StackingSource::WindowTree);
    EXPECT_EQ(treeWalk->findWindowBelow(toolbar->window()), std::nullopt);
    EXPECT_EQ(next(), DeliveryResult::NoWindowBelow);
}

TEST_F(X11DeliveryTest, AWindowThatVanishesIsNeitherActivatedNorFatal) {
    auto target = std::make_unique<TargetApp>(u("消える窓"));
    ASSERT_TRUE(target->waitReady());
    ASSERT_TRUE(isBelow(*target));
    const WindowHandle gone = target->window();
    target.reset();
    ASSERT_TRUE(waitUntil([&] { return below() != gone; }));

    // Xlib's own error handler would end the process on the first request for the vanished window.
    EXPECT_FALSE(windows->activate(gone));
    EXPECT_FALSE(windows->isActive(gone));
    EXPECT_EQ(windows->windowTitle(gone), "");
}

TEST_F(X11DeliveryTest, AStayOnTopWindowOfAnotherProgramIsPassedOverForTheFormTheUserWorksIn) {
    TargetApp form(u("応募フォーム"));
    ASSERT_TRUE(form.waitReady());
    ASSERT_TRUE(isBelow(form));
    TargetApp note(u("付箋"), {"--stay-on-top"});
    ASSERT_TRUE(note.waitReady());

    // The toolbar is raised above the note, which then lies between the toolbar and the form.
    const auto raiseToolbarAboveNote = [&] {
        toolbar->widget().raise();
        return waitUntil([&] {
            const auto formAt = x11test::stackingIndex(*display, form.window());
            const auto noteAt = x11test::stackingIndex(*display, note.window());
            const auto toolbarAt = x11test::stackingIndex(*display, toolbar->window());
            return formAt && noteAt && toolbarAt && *formAt < *noteAt && *noteAt < *toolbarAt;
        });
    };
    // The user goes back to the form.
    ASSERT_TRUE(windows->activate(form.window()));
    ASSERT_TRUE(waitUntil([&] { return windows->isActive(form.window()); }));
    ASSERT_TRUE(raiseToolbarAboveNote());
    EXPECT_TRUE(isBelow(form));
    const auto treeWalk = makeX11WindowOrder(display, StackingSource::WindowTree);
    EXPECT_EQ(treeWalk->findWindowBelow(toolbar->window()), form.window());

    settings.PasteAfter = true;
    settings.AfterKey = 1;
    ASSERT_EQ(paste("東京都千代田区"), DeliveryResult::Sent);
    EXPECT_TRUE(waitUntil([&] { return form.state("first") == u("東京都千代田区"); }));
    EXPECT_TRUE(waitUntil([&] { return form.state("enters") == "1"; }));
    EXPECT_EQ(note.state("first"), "");
    EXPECT_EQ(note.state("enters"), "0");

    // A note the user is typing in is what the user fills.
    ASSERT_TRUE(windows->activate(note.window()));
    ASSERT_TRUE(waitUntil([&] { return windows->isActive(note.window()); }));
    ASSERT_TRUE(raiseToolbarAboveNote());
    EXPECT_TRUE(isBelow(note));
    EXPECT_EQ(treeWalk->findWindowBelow(toolbar->window()), note.window());
}

TEST_F(X11DeliveryTest, WaylandVariablesInheritedOnAPlainXServerChangeNothing) {
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("XDG_SESSION_TYPE", "wayland");
    const auto order = makeX11WindowOrder(display);
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    EXPECT_FALSE(order->isWaylandSession());
}

TEST_F(X11DeliveryTest, APasteGivenUpLeavesTheFocusWhereItWas) {
    TargetApp form(u("応募フォーム"));
    ASSERT_TRUE(form.waitReady());
    ASSERT_TRUE(isBelow(form));
    ASSERT_TRUE(focusToolbar());
    const unsigned long focusBefore = x11test::inputFocus(*display);

    // The user holds Shift through the whole paste, so the delivery gives up after activating the form.
    x11test::holdShift(*display, true);
    EXPECT_TRUE(clipboard.setText(sjis::fromUtf8("送らない")));
    const DeliveryResult result = PasteIntoWindowBelow(settings, toolbar->window(), ports());
    x11test::holdShift(*display, false);

    EXPECT_EQ(result, DeliveryResult::ModifiersHeld);
    EXPECT_TRUE(waitUntil([&] { return windows->isActive(toolbar->window()); }));
    EXPECT_EQ(x11test::inputFocus(*display), focusBefore);
    EXPECT_EQ(form.state("first"), "");
}

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The clipboard as the X server sees it: ours until another program takes it, and another program's
// requests for it seen as they come, before Qt answers them.
TEST_F(X11DeliveryTest, TheServerTellsWhetherTheClipboardIsStillOursAndWhoAskedForIt) {
    const std::unique_ptr<Clipboard> x11Clipboard = makeX11Clipboard(std::make_unique<QtClipboard>());
    ASSERT_TRUE(x11Clipboard->setText("abc"));
    EXPECT_TRUE(x11Clipboard->ownsText());

    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(other), 0);
    const xcb_window_t requestor = xcb_generate_id(other);
    xcb_create_window(other, XCB_COPY_FROM_PARENT, requestor,
                      xcb_setup_roots_iterator(xcb_get_setup(other)).data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t clipboardAtom = internAtom(other, "CLIPBOARD");
    const xcb_atom_t property = internAtom(other, "ZENPORO_TEST");
    for (const char* target : {"TARGETS", "UTF8_STRING"}) {
        xcb_convert_selection(other, requestor, clipboardAtom, internAtom(other, target), property,
                              XCB_CURRENT_TIME);
    }
    xcb_flush(other);
    EXPECT_TRUE(waitUntil([&] { return x11Clipboard->requestsSinceSet().size() == 2; }));
    const std::vector<ClipboardRequest> seen = x11Clipboard->requestsSinceSet();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind, ClipboardRequest::Kind::Formats);
    EXPECT_EQ(seen[1].kind, ClipboardRequest::Kind::Text);
    EXPECT_FALSE(seen[0].byCompositor || seen[1].byCompositor) << "a program, not the window manager";

    // Another program takes the clipboard: a paste now would bring its text; a clipboard manager that takes
    // it with the same text does not matter.
    for (const char* taken : {"other", "abc"}) {
        TargetApp owner(u("クリップボードの持ち主"), {QString("--own-clipboard=") + taken});
        ASSERT_TRUE(owner.waitReady());
        EXPECT_EQ(x11Clipboard->ownsText(), std::string(taken) == "abc") << taken;
    }
    xcb_disconnect(other);
}

}  // namespace
