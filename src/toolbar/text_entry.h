#pragma once

// How a field click delivers its text.
enum class TextEntry {
    Paste,    // Ctrl+V
    Type,     // key strokes, for drop-down lists and boxes that refuse a paste (a click with Shift held)
    Replace,  // Ctrl+A, then Ctrl+V: what the box holds is replaced (a click with Ctrl held), for a box that
              // a form's own look-up filled with the cursor at its end
};

// The entry a click asks for by the modifiers held: Shift types, Ctrl replaces, Shift wins over Ctrl.
TextEntry TextEntryOf(bool shiftHeld, bool controlHeld);
