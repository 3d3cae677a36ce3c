#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <cstddef>
#include <map>
#include <string_view>
#include <vector>

// Keycodes that carry no key symbol in the keyboard map, lent to characters so that any character can be
// typed. Each borrowed keycode carries its character's symbol on every level, so Shift, Caps Lock or Kana
// Lock held by the user cannot change it. All characters of a text are mapped at once and stay mapped until
// restore(): applications read the map lazily, so a key must never arrive under a mapping already changed
// again.
class SpareKeys {
  public:
    explicit SpareKeys(Display* display);
    ~SpareKeys();
    SpareKeys(const SpareKeys&) = delete;
    SpareKeys& operator=(const SpareKeys&) = delete;

    // Maps the distinct characters of the text, from its start, onto spare keycodes (keeping those mapped
    // already), and returns how many characters from the start can now be typed; 0 when none can. A new
    // mapping waits until applications can have read it.
    std::size_t map(std::u32string_view text);
    // The keycode that types the character, while the server's map still gives it the character's symbol
    // (Xwayland re-applies the compositor's own map when the compositor sends a new one); 0 otherwise.
    KeyCode codeOf(char32_t character);
    // Gives every borrowed keycode back its empty symbols.
    void restore();

  private:
    std::vector<KeyCode> spareCodes();
    void lend(KeyCode code, char32_t character);

    Display* d_;
    std::map<char32_t, KeyCode> lent_;
    int symbolsPerCode_ = 1;
    std::chrono::steady_clock::time_point lastUse_{};
};

// The key symbol of a character: Latin-1 has symbols of its own value, every other character its Unicode one.
KeySym KeySymOfCharacter(char32_t character);
