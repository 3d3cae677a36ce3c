#include "x11_probe.h"

#include "platform/x11/x11_display.h"
#include "platform/x11/x11_support.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>

namespace x11test {

std::optional<int> stackingIndex(X11Display& display, unsigned long window) {
    Display* const d = display.get();
    const std::vector<unsigned long> stack =
        x11::longProperty(d, DefaultRootWindow(d), x11::atom(d, "_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
    const auto at = std::find(stack.begin(), stack.end(), window);
    if (at == stack.end()) {
        return std::nullopt;
    }
    return static_cast<int>(at - stack.begin());
}

unsigned long nameStrayWindowActive(X11Display& display) {
    Display* const d = display.get();
    const Window stray = XCreateSimpleWindow(d, DefaultRootWindow(d), -10, -10, 1, 1, 0, 0, 0);
    XChangeProperty(d, DefaultRootWindow(d), x11::atom(d, "_NET_ACTIVE_WINDOW"), XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&stray), 1);
    XSync(d, False);
    return stray;
}

unsigned long inputFocus(X11Display& display) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display.get(), &focus, &revert);
    return focus;
}

void holdShift(X11Display& display, bool down) {
    Display* const d = display.get();
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Shift_L), down ? True : False, CurrentTime);
    XSync(d, False);
}

}  // namespace x11test
