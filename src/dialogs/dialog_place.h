#pragma once

#include "toolbar/geometry.h"

#include <vector>

// A control's place in a dialog's layout: its name, its caption (UTF-8, empty for none) and its rectangle in
// client pixels at 96 DPI (a width and height of 0 mean the control takes the size of its caption).
struct DialogControlPlace {
    const char* name;
    const char* text;
    Rect place;
};

// A rectangle given inside a panel, moved to the panel's parent.
constexpr Rect InPanel(const Rect& panel, const Rect& inside) {
    return {panel.x + inside.x, panel.y + inside.y, inside.width, inside.height};
}

// The width a one-line label placed at label takes so that its text (textWidth wide in the label's font)
// shows whole, as a label that sizes itself to its text does: never narrower than placed, and no wider than
// the nearest edge to its right of another control on its row (a control's left edge, the right edge of a
// panel around it) or else the client's right edge. All in the same pixels.
int GrownLabelWidth(const Rect& label, int textWidth, const std::vector<Rect>& others, int clientWidth);
