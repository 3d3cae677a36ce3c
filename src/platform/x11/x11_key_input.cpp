#include "platform/x11/x11_key_input.h"

// Qt before X11's headers, whose macros (None, Bool) would clash with Qt's names.
#include <QCoreApplication>
#include <QTimer>

#include "platform/x11/x11_spare_keys.h"
#include "platform/x11/x11_support.h"

#include <X11/XKBlib.h>
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
        case Key::A:
            return XK_a;
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

// How long the keycodes lent for typing stay lent after the last typed key: the target reads each key's
// symbol only when it handles the key, which a busy application may do a good while later. The pause also
// lets the next click's text reuse them without a new wait.
constexpr std::chrono::milliseconds kRestoreKeysAfter{2000};

class X11KeyInput : public KeyInput {
  public:
    explicit X11KeyInput(std::shared_ptr<X11Display> display)
        : connection_(std::move(display)), d_(connection_->get()), xtest_(hasXTest(d_)), spareKeys_(d_) {}

    ~X11KeyInput() override {
        for (const auto& [key, code] : down_) {
            send(code, false);
        }
    }

    std::size_t prepareToType(std::u32string_view text) override {
        ++typing_;  // a restore still pending is of no use now
        if (!xtest_) {
            return 0;
        }
        // Toolkits write a letter in capitals while Caps Lock is on, whatever its key's levels say: it is
        // switched off while the keys go, and back on after.
        XkbStateRec keyboard{};
        if (!capsLockTakenOff_ && XkbGetState(d_, XkbUseCoreKbd, &keyboard) == Success &&
            (keyboard.locked_mods & LockMask) != 0) {
            capsLockTakenOff_ = XkbLockModifiers(d_, XkbUseCoreKbd, LockMask, 0) != 0;
        }
        return spareKeys_.map(text);
    }

    bool typeCharacter(char32_t character) override {
        const KeyCode code = spareKeys_.codeOf(character);
        return code != 0 && send(code, true) && send(code, false);
    }

    void finishTyping() override {
        if (capsLockTakenOff_) {
            XkbLockModifiers(d_, XkbUseCoreKbd, LockMask, LockMask);
            XFlush(d_);
            capsLockTakenOff_ = false;
        }
        const unsigned typing = ++typing_;
        if (QCoreApplication::instance() == nullptr) {
            return;  // given back when this goes
        }
        QTimer::singleShot(kRestoreKeysAfter, [alive = std::weak_ptr<int>(alive_), this, typing] {
            if (!alive.expired() && typing_ == typing) {
                spareKeys_.restore();
            }
        });
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
    SpareKeys spareKeys_;
    bool capsLockTakenOff_ = false;
    unsigned typing_ = 0;  // counts typings, so a restore meant for an earlier one is dropped
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace

std::unique_ptr<KeyInput> makeX11KeyInput(std::shared_ptr<X11Display> display) {
    return std::make_unique<X11KeyInput>(std::move(display));
}
