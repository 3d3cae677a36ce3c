#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

class SwayInput;
class SwaySession;

namespace swaytest {

// What runTests started once for all tests of the program. Why there is no sway session to test in (for
// GTEST_SKIP); empty when there is one, its environment exported into this process.
std::string missingSession();
SwaySession& session();
SwayInput& input();

// A test in the shared session, skipped where there is none.
class SwayTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // Gives sway's keyboard focus to the window with this title (UTF-8); false when sway refused.
    static bool focus(const std::string& title);
    // Waits until sway shows each window: it gives the focus to each window it maps, so a focus given earlier
    // is taken away by a window that comes later.
    static bool shown(std::initializer_list<std::string> titles);

    SwayInput* input = nullptr;
};

// main() of a sway test program: runs every test in one headless sway session of its own, with its input
// devices, as an unprivileged user when run as root (sway refuses root).
int runTests(int argc, char** argv);

}  // namespace swaytest
