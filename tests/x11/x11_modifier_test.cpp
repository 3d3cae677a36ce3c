#include "platform/x11/x11_platform.h"

#include <gtest/gtest.h>

// Xlib's macros (None, Bool) clash with GoogleTest's names, so it comes last.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <memory>

namespace {

// Presses or releases a key on a connection of the test's own, as a user's keyboard would.
void setKey(Display* display, KeySym symbol, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, symbol), down ? True : False, CurrentTime);
    XSync(display, False);
}

TEST(X11KeyInput, SeesAModifierHeldOnTheRealKeyboard) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display";
    }
    std::optional<X11Delivery> delivery = openX11Delivery();
    ASSERT_TRUE(delivery.has_value());
    const std::unique_ptr<Display, int (*)(Display*)> user(XOpenDisplay(nullptr), XCloseDisplay);
    ASSERT_NE(user, nullptr);

    EXPECT_FALSE(delivery->keys->anyModifierHeld());
    for (const KeySym modifier : {XK_Shift_L, XK_Control_L, XK_Alt_L}) {
        setKey(user.get(), modifier, true);
        EXPECT_TRUE(delivery->keys->anyModifierHeld()) << XKeysymToString(modifier);
        setKey(user.get(), modifier, false);
        EXPECT_FALSE(delivery->keys->anyModifierHeld()) << XKeysymToString(modifier);
    }
    setKey(user.get(), XK_a, true);
    EXPECT_FALSE(delivery->keys->anyModifierHeld()) << "an ordinary key is no modifier";
    setKey(user.get(), XK_a, false);
}

}  // namespace
