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

int X11Display::fileDescriptor() const {
    return ConnectionNumber(display_);
}

void X11Display::takePendingEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
        }
        for (const auto& [id, listener] : listeners_) {
            listener(event);
        }
    }
}

int X11Display::addEventListener(EventListener listener) {
    const int id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void X11Display::removeEventListener(int id) {
    listeners_.erase(id);
}
