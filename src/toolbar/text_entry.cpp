#include "toolbar/text_entry.h"

TextEntry TextEntryOf(bool shiftHeld, bool controlHeld) {
    if (shiftHeld) {
        return TextEntry::Type;
    }
    return controlHeld ? TextEntry::Replace : TextEntry::Paste;
}
