#include "platform/key_input.h"

#include <vector>

ChordResult KeyInput::sendChord(std::initializer_list<Key> chord,
                                const std::function<bool()>& targetHasFocus) {
    ChordResult result = ChordResult::Sent;
    // Every key whose press went out, or may have gone out before the press failed: only those are released.
    std::vector<Key> attempted;
    for (const Key key : chord) {
        if (!targetHasFocus()) {
            result = ChordResult::FocusLost;
            break;
        }
        attempted.push_back(key);
        if (!press(key)) {
            result = ChordResult::KeyFailed;
            break;
        }
    }
    bool released = true;
    for (const Key key : attempted) {
        released = release(key) && released;
    }
    return result == ChordResult::Sent && !released ? ChordResult::KeyFailed : result;
}
