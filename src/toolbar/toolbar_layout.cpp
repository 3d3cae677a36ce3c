#include "toolbar/toolbar_layout.h"

#include <stdexcept>

int FieldButtonPosition(int speedButtonNumber) {
    // SpeedButton4 .. SpeedButton18: the birth date sits after the sex button, Next before the settings.
    static constexpr std::array<int, kFieldButtonCount> kPositions = {0, 1,  2,  3,  5,  6, 7, 8,
                                                                      9, 10, 11, 13, 14, 4, 12};
    if (speedButtonNumber < 4 || speedButtonNumber > 18) {
        throw std::out_of_range("not a field button");
    }
    return kPositions[static_cast<std::size_t>(speedButtonNumber - 4)];
}

ToolbarLayout ArrangeButtonsLayout(bool horizontal, bool open, Size button) {
    const int w = button.width;
    const int h = button.height;
    ToolbarLayout layout;
    if (horizontal) {
        const int fixedWidth = kChangeBarThickness + 3 * w;
        layout.clientSize = Size{open ? fixedWidth + kFieldButtonCount * w : fixedWidth, h};
        layout.panel1 = Rect{0, 0, open ? fixedWidth : layout.clientSize.width, h};
        layout.changeBar = Rect{0, 0, kChangeBarThickness, h};
        for (int i = 0; i < 3; ++i) {
            layout.controlButtons[static_cast<std::size_t>(i)] = Point{kChangeBarThickness + i * w, 0};
        }
        layout.panel2 = Rect{layout.panel1.width, 0, kFieldButtonCount * w, h};
        for (int pos = 0; pos < kFieldButtonCount; ++pos) {
            layout.fieldButtons[static_cast<std::size_t>(pos)] = Point{pos * w, 0};
        }
        return layout;
    }
    const int width = w + 2 * kVerticalMargin;
    const int fixedHeight = kChangeBarThickness + 3 * h;
    layout.clientSize = Size{width, open ? fixedHeight + kFieldButtonCount * h : fixedHeight};
    layout.panel1 = Rect{0, 0, width, open ? fixedHeight : layout.clientSize.height};
    layout.changeBar = Rect{0, 0, width, kChangeBarThickness};
    for (int i = 0; i < 3; ++i) {
        layout.controlButtons[static_cast<std::size_t>(i)] =
            Point{kVerticalMargin, kChangeBarThickness + i * h};
    }
    layout.panel2 = Rect{0, layout.panel1.height, width, kFieldButtonCount * h};
    for (int pos = 0; pos < kFieldButtonCount; ++pos) {
        layout.fieldButtons[static_cast<std::size_t>(pos)] = Point{kVerticalMargin, pos * h};
    }
    return layout;
}

Rect ControlRect(const ToolbarLayout& layout, Size button, int number) {
    if (number == 0) {
        return layout.changeBar;
    }
    if (number <= 3) {
        const Point at = layout.controlButtons.at(static_cast<std::size_t>(number - 1));
        return {at.x, at.y, button.width, button.height};
    }
    const Point at = layout.fieldButtons[static_cast<std::size_t>(FieldButtonPosition(number))];
    return {layout.panel2.x + at.x, layout.panel2.y + at.y, button.width, button.height};
}
