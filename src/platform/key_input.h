#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string_view>

// The keys the toolbar presses in the window below.
enum class Key { Control, V, Tab, Return, A };

// How sending a chord ended.
enum class ChordResult {
    Sent,       // every press and release was sent
    FocusLost,  // the target lost the focus before a press: no further key was pressed
    KeyFailed,  // an event could not be sent
};

// Synthetic key events, injected as if typed on the keyboard, into whatever window holds the focus.
class KeyInput {
  public:
    virtual ~KeyInput() = default;
    // Each returns false when the event could not be sent (no such key in the keyboard map, or the window
    // system refused it).
    virtual bool press(Key key) = 0;
    virtual bool release(Key key) = 0;
    // True while the user holds a modifier key (Shift, Control, Alt, a logo key), which would turn the keys
    // we send into other shortcuts.
    virtual bool anyModifierHeld() = 0;

    // Presses the keys in order, then releases them in the same order; targetHasFocus() is asked before the
    // keys go out, and a false answer sends no further press. Every key whose press was sent, or failed, is
    // released, so none stays down; a key never pressed gets no release. This one asks before every press and
    // sends one event at a time; a platform that can send the whole chord at once, with no key of the user's
    // between, does so.
    virtual ChordResult sendChord(std::initializer_list<Key> chord,
                                  const std::function<bool()>& targetHasFocus);

    // Text typed as key strokes, for what a paste cannot fill (a drop-down list, a box that refuses a paste).
    // Makes keys for as many characters from the start of the text as it can and says how many; 0 when not
    // even the first can be typed (as here, where a platform cannot type).
    virtual std::size_t prepareToType(std::u32string_view /*text*/) { return 0; }
    // Presses and releases the key of one character made by prepareToType; false when it could not be sent.
    virtual bool typeCharacter(char32_t /*character*/) { return false; }
    // Typing is over for now: what was made for it may be given back once the target has read every key.
    virtual void finishTyping() {}
    // True when the last prepareToType made no keys because the target's input method is on and could not be
    // turned off: its keys would end in the input method's composition, so the text is better pasted.
    virtual bool typingHeldBackByInputMethod() const { return false; }
};
