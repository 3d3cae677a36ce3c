#pragma once

#include "toolbar/geometry.h"

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
