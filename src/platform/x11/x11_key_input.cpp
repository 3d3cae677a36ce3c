#include "platform/x11/x11_key_input.h"

#include "platform/x11/x11_support.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <map>
#include <memory>

namespace {

KeySym keySymOf(Key key) {
    switch (key) {
        case Key::Control:
            return XK_Control_L;
        case Key::V:
            return XK_v;
        case Key::Tab:
            return XK_Tab;
        case Key::Return:
            return XK_Return;
    }
    return NoSymbol;
}

bool hasXTest(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    return XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) != 0;
}

class X11KeyInput : public KeyInput {
  public:
    explicit X11KeyInput(std::shared_ptr<X11Display> display)
        : connection_(std::move(display)), d_(connection_->get()), xtest_(hasXTest(d_)) {}

    ~X11KeyInput() override {
        for (const auto& [key, code] : down_) {
            send(code, false);
        }
    }

    bool press(Key key) override {
        const KeyCode code = currentKeyCode(key);
        if (code == 0 || !send(code, true)) {
            return false;
        }
        down_[key] = code;
        return true;
    }

    bool release(Key key) override {
        // A key goes up on the key code it went down on, even if the keyboard map changed meanwhile.
        const auto pressed = down_.find(key);
        const KeyCode code = pressed != down_.end() ? pressed->second : currentKeyCode(key);
        if (pressed != down_.end()) {
            down_.erase(pressed);
        }
        return code != 0 && send(code, false);
    }

    bool anyModifierHeld() override {
        char keys[32] = {};
        XQueryKeymap(d_, keys);
        const std::unique_ptr<XModifierKeymap, int (*)(XModifierKeymap*)> map(XGetModifierMapping(d_),
                                                                              XFreeModifiermap);
        if (!map) {
            return false;
        }
        // Caps Lock and Num Lock (the lock and mod2 rows) change no shortcut and may be left on for good.
        for (const int row :
             {ShiftMapIndex, ControlMapIndex, Mod1MapIndex, Mod3MapIndex, Mod4MapIndex, Mod5MapIndex}) {
            for (int column = 0; column < map->max_keypermod; ++column) {
                const KeyCode code = map->modifiermap[row * map->max_keypermod + column];
                if (code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0) {
                    return true;
                }
            }
        }
        return false;
    }

  private:
    bool send(KeyCode code, bool down) {
        if (!xtest_) {
            return false;
        }
        x11::ErrorTrap trap(d_);
        const Status sent = XTestFakeKeyEvent(d_, code, down ? True : False, CurrentTime);
        return sent != 0 && !trap.failed();
    }

    // The key that carries the symbol in the keyboard map as it is now.
    KeyCode currentKeyCode(Key key) {
        takeMappingChanges();
        return XKeysymToKeycode(d_, keySymOf(key));
    }

    // Xlib keeps a copy of the keyboard map; bring it up to date with any change the server announced.
    void takeMappingChanges() {
        XSync(d_, False);
        XEvent event;
        while (XCheckTypedEvent(d_, MappingNotify, &event)) {
            XRefreshKeyboardMapping(&event.xmapping);
        }
    }

    std::shared_ptr<X11Display> connection_;
    Display* d_;
    bool xtest_;
    std::map<Key, KeyCode> down_;
};

}  // namespace

std::unique_ptr<KeyInput> makeX11KeyInput(std::shared_ptr<X11Display> display) {
    return std::make_unique<X11KeyInput>(std::move(display));
}
