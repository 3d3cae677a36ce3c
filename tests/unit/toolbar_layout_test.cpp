#include "toolbar/toolbar_layout.h"

#include "support/geometry_printer.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const Size kButton{23, 22};

struct ClientSizeCase {
    bool horizontal;
    bool open;
    Size client;
};

TEST(ToolbarLayout, ClientSizeOfTheFourArrangements) {
    const ClientSizeCase cases[] = {
        {true, false, {77, 22}},
        {true, true, {422, 22}},
        {false, false, {27, 74}},
        {false, true, {27, 404}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArrangeButtonsLayout(c.horizontal, c.open, kButton).clientSize, c.client)
            << "horizontal " << c.horizontal << " open " << c.open;
    }
}

TEST(ToolbarLayout, HorizontalOpenRowFollowsTheControlGroup) {
    const ToolbarLayout layout = ArrangeButtonsLayout(true, true, kButton);
    EXPECT_EQ(layout.panel1, (Rect{0, 0, 77, 22}));
    EXPECT_EQ(layout.changeBar, (Rect{0, 0, 8, 22}));
    EXPECT_EQ(layout.controlButtons[0], (Point{8, 0}));
    EXPECT_EQ(layout.controlButtons[2], (Point{54, 0}));
    EXPECT_EQ(layout.panel2, (Rect{77, 0, 345, 22}));
    EXPECT_EQ(layout.fieldButtons[14], (Point{14 * 23, 0}));
}

TEST(ToolbarLayout, VerticalStacksButtonsWithMargins) {
    const ToolbarLayout layout = ArrangeButtonsLayout(false, true, kButton);
    EXPECT_EQ(layout.changeBar, (Rect{0, 0, 27, 8}));
    EXPECT_EQ(layout.controlButtons[1], (Point{2, 30}));
    EXPECT_EQ(layout.panel2, (Rect{0, 74, 27, 330}));
    EXPECT_EQ(layout.fieldButtons[4], (Point{2, 88}));
}

TEST(ToolbarLayout, ClosedControlGroupFillsTheClientArea) {
    EXPECT_EQ(ArrangeButtonsLayout(true, false, kButton).panel1.width, 77);
    EXPECT_EQ(ArrangeButtonsLayout(false, false, kButton).panel1.height, 74);
}

TEST(ToolbarLayout, FieldRowOrderPutsBirthDateAfterSexAndNextBeforeSettings) {
    const int expected[][2] = {{4, 0},  {5, 1},  {6, 2},   {7, 3},   {17, 4},  {8, 5},   {9, 6},  {10, 7},
                               {11, 8}, {12, 9}, {13, 10}, {14, 11}, {18, 12}, {15, 13}, {16, 14}};
    for (const auto& [number, position] : expected) {
        EXPECT_EQ(FieldButtonPosition(number), position) << "SpeedButton" << number;
    }
    EXPECT_THROW(FieldButtonPosition(3), std::out_of_range);
}

}  // namespace
