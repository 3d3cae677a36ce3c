#include "platform/x11/x11_spare_keys.h"

#include <algorithm>
#include <memory>
#include <thread>

namespace {

// Applications learn of a changed keyboard map through an event and many read the new map only when the next
// key comes; a key sent after this pause finds the map in place. 100 ms leaves room for a busy client, is
// paid once per text, and keeps the keys of a drop-down list well inside the second after which it forgets
// them.
constexpr std::chrono::milliseconds kMapSettle{100};

using Symbols = std::unique_ptr<KeySym, int (*)(void*)>;

}  // namespace

KeySym KeySymOfCharacter(char32_t character) {
    if ((character >= 0x20 && character <= 0x7e) || (character >= 0xa0 && character <= 0xff)) {
        return character;
    }
    return 0x1000000 + character;
}

SpareKeys::SpareKeys(Display* display) : d_(display) {}

SpareKeys::~SpareKeys() {
    restore();
}

std::size_t SpareKeys::map(std::u32string_view text) {
    std::vector<KeyCode> fresh = spareCodes();
    // Characters this text does not need may give their keycodes up, once no key typed with them can still be
    // in use; a keycode not taken again stays lent to its character until restore(). When there is none for
    // the first character, a later character's keycode is taken, and that character is lent one anew later.
    std::vector<char32_t> unneeded;
    std::vector<char32_t> neededLater;
    for (const auto& [character, code] : lent_) {
        (text.find(character) == std::u32string_view::npos ? unneeded : neededLater).push_back(character);
    }
    const auto takeFrom = [this, &fresh](std::vector<char32_t>& characters) {
        if (std::chrono::steady_clock::now() - lastUse_ < kMapSettle) {
            std::this_thread::sleep_for(kMapSettle);
        }
        fresh.push_back(lent_.at(characters.back()));
        lent_.erase(characters.back());
        characters.pop_back();
    };
    bool lentNew = false;
    std::size_t ready = 0;
    for (; ready < text.size(); ++ready) {
        const char32_t character = text[ready];
        if (lent_.count(character) != 0) {
            continue;
        }
        if (fresh.empty() && !unneeded.empty()) {
            takeFrom(unneeded);
        } else if (fresh.empty() && ready == 0 && !neededLater.empty()) {
            takeFrom(neededLater);
        }
        if (fresh.empty()) {
            break;
        }
        lend(fresh.back(), character);
        fresh.pop_back();
        lentNew = true;
    }
    if (lentNew) {
        XSync(d_, False);
        std::this_thread::sleep_for(kMapSettle);
    }
    return ready;
}

KeyCode SpareKeys::codeOf(char32_t character) {
    const auto found = lent_.find(character);
    if (found == lent_.end()) {
        return 0;
    }
    int perCode = 0;
    const Symbols symbols(XGetKeyboardMapping(d_, found->second, 1, &perCode), XFree);
    if (!symbols || perCode < 1 || symbols.get()[0] != KeySymOfCharacter(character)) {
        lent_.erase(found);
        return 0;
    }
    lastUse_ = std::chrono::steady_clock::now();
    return found->second;
}

void SpareKeys::restore() {
    if (lent_.empty()) {
        return;
    }
    for (const auto& [character, code] : lent_) {
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(d_, code, 1, &none, 1);
    }
    lent_.clear();
    XSync(d_, False);
}

// Keycodes with no symbol on any level, not lent already, from the top of the range down.
std::vector<KeyCode> SpareKeys::spareCodes() {
    int first = 0;
    int last = 0;
    XDisplayKeycodes(d_, &first, &last);
    int perCode = 0;
    const Symbols symbols(XGetKeyboardMapping(d_, static_cast<KeyCode>(first), last - first + 1, &perCode),
                          XFree);
    std::vector<KeyCode> spare;
    if (!symbols) {
        return spare;
    }
    symbolsPerCode_ = perCode;
    for (int code = first; code <= last; ++code) {
        const KeySym* const levels = symbols.get() + static_cast<std::ptrdiff_t>(code - first) * perCode;
        const bool empty = std::all_of(levels, levels + perCode, [](KeySym sym) { return sym == NoSymbol; });
        const bool lent = std::any_of(lent_.begin(), lent_.end(),
                                      [code](const auto& entry) { return entry.second == code; });
        if (empty && !lent) {
            spare.push_back(static_cast<KeyCode>(code));
        }
    }
    return spare;
}

void SpareKeys::lend(KeyCode code, char32_t character) {
    const std::vector<KeySym> levels(static_cast<std::size_t>(std::max(symbolsPerCode_, 1)),
                                     KeySymOfCharacter(character));
    XChangeKeyboardMapping(d_, code, static_cast<int>(levels.size()), const_cast<KeySym*>(levels.data()), 1);
    lent_[character] = code;
}
