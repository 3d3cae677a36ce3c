#pragma once

#include "toolbar/geometry.h"

#include <array>

constexpr int kFieldButtonCount = 15;
constexpr int kChangeBarThickness = 8;
constexpr int kVerticalMargin = 2;  // on each side of a button in the vertical arrangement

// Where every part of the toolbar goes for one arrangement. Field buttons are indexed by their position
// in the row (see FieldButtonPosition).
struct ToolbarLayout {
    Size clientSize;
    Rect panel1;
    Rect changeBar;
    std::array<Point, 3> controlButtons;  // SpeedButton1, SpeedButton2, SpeedButton3
    Rect panel2;
    std::array<Point, kFieldButtonCount> fieldButtons;
};

// horizontal: FrmStyle; open: SpeedButton3 is down; button: the size of SpeedButton1.
ToolbarLayout ArrangeButtonsLayout(bool horizontal, bool open, Size button);

// Where the change bar (number 0) or SpeedButton<number> (1..18) of that size lies in the client area; a
// field button of a closed toolbar lies beyond its edge.
Rect ControlRect(const ToolbarLayout& layout, Size button, int number);

// The position in the field row of SpeedButton<number> (4..18); the row is not in name order.
int FieldButtonPosition(int speedButtonNumber);
