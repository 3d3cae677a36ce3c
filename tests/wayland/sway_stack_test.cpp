// The test stack for sway proves itself: native Wayland windows and X11 ones appear in a headless sway, sway
// gives the keyboard focus where it is asked and keys follow it, and a click through sway's pointer lands on
// an X11 window at the point asked, the toolbar included.

#include "native_target.h"
#include "stand_in_toolbar.h"
#include "sway_input.h"
#include "sway_session.h"
#include "sway_test_main.h"
#include "x11_test_support.h"
#include "zenporo_run.h"

#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace {

using x11test::waitUntil;

using SwayStackTest = swaytest::SwayTest;

TEST_F(SwayStackTest, TheKeyboardFocusGoesToTheWindowAskedForAndKeysFollowIt) {
    x11test::TargetApp form("x11 form");
    NativeTarget first("native one");
    NativeTarget second("native two");
    ASSERT_TRUE(shown({"x11 form", "native one", "native two"}));

    const struct {
        const char* title;
        x11test::TargetApp& window;
        char key;
    } steps[] = {{"native one", first, 'a'},
                 {"native two", second, 'b'},
                 {"x11 form", form, 'c'},
                 {"native one", first, 'd'}};
    for (const auto& step : steps) {
        ASSERT_TRUE(focus(step.title)) << step.title;
        EXPECT_TRUE(waitUntil([&] {
            int focused = 0;
            for (x11test::TargetApp* window : {&form, static_cast<x11test::TargetApp*>(&first),
                                               static_cast<x11test::TargetApp*>(&second)}) {
                focused += window->state("focus") == "0";
            }
            return focused == 1 && step.window.state("focus") == "0";
        })) << step.title
            << " did not get the focus alone";
        const QString before = step.window.state("first");
        ASSERT_TRUE(input->tapKey(uint32_t(step.key))) << input->failure().toStdString();
        EXPECT_TRUE(waitUntil([&] { return step.window.state("first") == before + step.key; }))
            << step.title << " holds " << step.window.state("first").toStdString();
    }
    EXPECT_EQ(first.state("first"), "ad");
    EXPECT_EQ(second.state("first"), "b");
    EXPECT_EQ(form.state("first"), "c");
}

TEST_F(SwayStackTest, AClickLandsOnAnX11WindowAtThePointAndTheClickedToolbarTakesTheFocus) {
    x11test::TargetApp form("x11 form");
    NativeTarget native("native one");
    ASSERT_TRUE(form.waitReady() && shown({"x11 form", "native one"}));
    ASSERT_TRUE(focus("native one"));
    ASSERT_TRUE(waitUntil([&] { return native.state("focus") == "0"; }));

    // A click on the X11 window takes the focus there. The window can still be at its first place, and
    // Xwayland learn of it after sway: the pointer is moved there until Xwayland has it over the window.
    x11test::Desktop desktop;
    QPoint onForm;
    ASSERT_TRUE(waitUntil([&] {
        onForm = desktop.clientRect(form.window()).center();  // where sway has tiled it by now
        return input->moveTo(onForm) && desktop.pointer() == onForm;
    }));
    ASSERT_TRUE(input->click(onForm));
    EXPECT_TRUE(waitUntil([&] { return form.state("focus") == "0" && native.state("focus") == "none"; }))
        << "X11 form focus " << form.state("focus").toStdString() << ", native focus "
        << native.state("focus").toStdString();

    StandInToolbar toolbar(QRect(0, 0, 300, 30));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&toolbar));
    // It appears at the screen's corner, where Xwayland may already report the pointer entering it over
    // another window, and only then does sway move it to the middle of the screen.
    ASSERT_TRUE(waitUntil([&] { return desktop.clientRect(toolbar.winId()).topLeft() != QPoint(0, 0); }));
    const QPoint onToolbar = desktop.clientRect(toolbar.winId()).topLeft() + QPoint(37, 11);
    toolbar.entered = false;
    ASSERT_TRUE(waitUntil([&] { return input->moveTo(onToolbar) && toolbar.entered; }))
        << "sway does not show the toolbar";
    // sway gives the keyboard focus to the toolbar when it appears.
    ASSERT_TRUE(focus("native one"));
    ASSERT_TRUE(waitUntil([&] { return native.state("focus") == "0"; }));
    ASSERT_TRUE(input->click(onToolbar));
    ASSERT_TRUE(waitUntil([&] { return toolbar.pressedAt.has_value(); })) << "the click missed the toolbar";
    EXPECT_EQ(*toolbar.pressedAt, onToolbar);
    // sway gives the keyboard focus to the clicked toolbar though it asks for none: the native window loses
    // it, and a key typed now reaches no window.
    EXPECT_TRUE(waitUntil([&] { return native.state("focus") == "none"; }));
    EXPECT_EQ(swaytest::session().focusedTitle(), "toolbar");
    ASSERT_TRUE(input->tapKey('a'));
    QTest::qWait(300);
    EXPECT_EQ(native.state("first"), "");
}

}  // namespace

int main(int argc, char** argv) {
    return swaytest::runTests(argc, argv);
}
