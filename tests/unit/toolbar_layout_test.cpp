#include "toolbar/toolbar_layout.h"

#include <gtest/gtest.h>

namespace {

const QSize kButton(23, 22);

struct ClientSizeCase {
    bool horizontal;
    bool open;
    QSize client;
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
    EXPECT_EQ(layout.panel1, QRect(0, 0, 77, 22));
    EXPECT_EQ(layout.changeBar, QRect(0, 0, 8, 22));
    EXPECT_EQ(layout.controlButtons[0], QPoint(8, 0));
    EXPECT_EQ(layout.controlButtons[2], QPoint(54, 0));
    EXPECT_EQ(layout.panel2, QRect(77, 0, 345, 22));
    EXPECT_EQ(layout.fieldButtons[14], QPoint(14 * 23, 0));
}

TEST(ToolbarLayout, VerticalStacksButtonsWithMargins) {
    const ToolbarLayout layout = ArrangeButtonsLayout(false, true, kButton);
    EXPECT_EQ(layout.changeBar, QRect(0, 0, 27, 8));
    EXPECT_EQ(layout.controlButtons[1], QPoint(2, 30));
    EXPECT_EQ(layout.panel2, QRect(0, 74, 27, 330));
    EXPECT_EQ(layout.fieldButtons[4], QPoint(2, 88));
}

TEST(ToolbarLayout, ClosedControlGroupFillsTheClientArea) {
    EXPECT_EQ(ArrangeButtonsLayout(true, false, kButton).panel1.width(), 77);
    EXPECT_EQ(ArrangeButtonsLayout(false, false, kButton).panel1.height(), 74);
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
