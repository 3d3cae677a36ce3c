#include "toolbar/screen_placement.h"

#include "support/geometry_printer.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// A laptop screen with a task bar along its bottom, and a second monitor to its right.
const Rect kLaptop{0, 0, 1280, 800};
const Rect kLaptopWork{0, 0, 1280, 760};
const Rect kSecond{1280, 0, 1920, 1080};

struct PlacementCase {
    const char* what;
    Rect frame;
    Point expected;
};

TEST(ScreenPlacement, StoredPositionStaysWhileItMeetsAMonitorElseGoesToTheNearest) {
    const Rect monitors[] = {kLaptop};
    const Rect workAreas[] = {kLaptopWork};
    const PlacementCase cases[] = {
        {"on the screen", {100, 100, 85, 45}, {100, 100}},
        {"partly off the left edge", {-40, 0, 85, 45}, {-40, 0}},
        {"where the second monitor was", {2000, 300, 85, 45}, {1195, 300}},
        {"below the screen", {600, 2000, 430, 45}, {600, 715}},
        {"far above and left", {-3000, -900, 85, 45}, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameOnSomeMonitor(c.frame, monitors, workAreas), c.expected) << c.what;
    }
}

TEST(ScreenPlacement, ChoosesTheNearestOfSeveralMonitors) {
    const Rect monitors[] = {kLaptop, kSecond};
    const Rect frame{3400, 500, 85, 45};
    EXPECT_EQ(FrameOnSomeMonitor(frame, monitors, monitors), (Point{3115, 500}));
}

TEST(ScreenPlacement, PositionsAtTheEndsOfTheIntRangeComeOntoTheNearestMonitor) {
    const Rect monitors[] = {kLaptop, kSecond};
    const Rect workAreas[] = {kLaptopWork, kSecond};
    const PlacementCase cases[] = {
        {"largest", {INT_MAX, INT_MAX, 85, 45}, {3115, 1035}},
        {"smallest", {INT_MIN, INT_MIN, 85, 45}, {0, 0}},
        {"frame ending past the largest", {INT_MAX - 10, 0, 85, 45}, {3115, 0}},
        {"smallest left, largest top", {INT_MIN, INT_MAX - 10, 85, 45}, {0, 715}},
        {"smallest top", {0, INT_MIN, 85, 45}, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameOnSomeMonitor(c.frame, monitors, workAreas), c.expected) << c.what;
    }
}

}  // namespace
