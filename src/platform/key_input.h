#pragma once

// The keys the toolbar presses in the window below.
enum class Key { Control, V, Tab, Return };

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
};
