#include "platform/wayland/typing_keymap.h"

#include <xkbcommon/xkbcommon.h>

#include <cstdio>
#include <vector>

namespace {

constexpr std::uint32_t kXkbKeycodeOffset = 8;  // an xkb keycode is the evdev one plus 8

// Keycodes the keymap names but gives no symbol: free to carry a character while the text is typed.
std::vector<xkb_keycode_t> spareKeycodes(xkb_keymap* keymap) {
    std::vector<xkb_keycode_t> spare;
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap);
         ++code) {
        if (code > kXkbKeycodeOffset && xkb_keymap_key_get_name(keymap, code) != nullptr &&
            xkb_keymap_num_layouts_for_key(keymap, code) == 0) {
            spare.push_back(code);
        }
    }
    return spare;
}

}  // namespace

TypingKeymap MakeTypingKeymap(const std::string& baseText, xkb_keymap* base, std::u32string_view text) {
    TypingKeymap typing;
    // The symbols section ends with a line "};" of its own; the keys go in before it.
    const std::size_t symbols = baseText.find("xkb_symbols");
    const std::size_t end = symbols == std::string::npos ? symbols : baseText.find("\n};", symbols);
    if (end == std::string::npos) {
        return typing;
    }
    const std::vector<xkb_keycode_t> spare = spareKeycodes(base);
    std::string keys;
    std::size_t used = 0;
    for (; typing.ready < text.size(); ++typing.ready) {
        const char32_t character = text[typing.ready];
        if (typing.keycodes.count(character) != 0) {
            continue;
        }
        const xkb_keysym_t keysym = xkb_utf32_to_keysym(character);
        if (keysym == XKB_KEY_NoSymbol || used == spare.size()) {
            break;
        }
        const xkb_keycode_t code = spare[used++];
        char line[128];
        std::snprintf(line, sizeof line, "\n\tkey <%s> { [ 0x%08x ] };", xkb_keymap_key_get_name(base, code),
                      static_cast<unsigned>(keysym));
        keys += line;
        typing.keycodes[character] = code - kXkbKeycodeOffset;
    }
    typing.text = baseText.substr(0, end) + keys + baseText.substr(end);
    return typing;
}
