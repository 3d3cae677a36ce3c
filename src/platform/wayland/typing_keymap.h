#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

struct xkb_keymap;

// A keymap for typing a text through a virtual keyboard: the keyboard's own keymap with the text's characters
// on keycodes that carry no symbols there, each on the first level, so a key press types its character
// whatever the modifiers. Ctrl, V, TAB and ENTER stay where they were.
struct TypingKeymap {
    std::string text;                            // the keymap, as the protocol takes it
    std::map<char32_t, std::uint32_t> keycodes;  // evdev codes, as the protocol takes them
    std::size_t ready = 0;                       // characters from the start of the text that have a key
};

// From the keymap `base` (its text, as xkbcommon writes it, and the keymap compiled from it); as many
// characters as there are spare keycodes, from the start of the text.
TypingKeymap MakeTypingKeymap(const std::string& baseText, xkb_keymap* base, std::u32string_view text);
