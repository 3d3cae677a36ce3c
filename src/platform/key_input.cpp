#include "platform/key_input.h"

ChordResult KeyInput::sendChord(std::initializer_list<Key> chord,
                                const std::function<bool()>& targetHasFocus) {
    ChordResult result = ChordResult::Sent;
    bool attempted = false;
    for (const Key key : chord) {
        if (!targetHasFocus()) {
            result = ChordResult::FocusLost;
            break;
        }
        attempted = true;
        if (!press(key)) {
            result = ChordResult::KeyFailed;
            break;
        }
    }
    if (!attempted) {
        return result;
    }
    bool released = true;
    for (const Key key : chord) {
        released = release(key) && released;
    }
    return result == ChordResult::Sent && !released ? ChordResult::KeyFailed : result;
}
