#include "platform/x11/x11_display.h"

#include <X11/Xlib.h>

std::shared_ptr<X11Display> X11Display::open(const char* name) {
    Display* const display = XOpenDisplay(name);
    if (display == nullptr) {
        return nullptr;
    }
    return std::shared_ptr<X11Display>(new X11Display(display));
}

X11Display::~X11Display() {
    XCloseDisplay(display_);
}
