#pragma once

#include <string>

class SwayInput;
class SwaySession;

namespace swaytest {

// What runTests started once for all tests of the program. Why there is no sway session to test in (for
// GTEST_SKIP); empty when there is one, its environment exported into this process.
std::string missingSession();
SwaySession& session();
SwayInput& input();

// main() of a sway test program: runs every test in one headless sway session of its own, with its input
// devices, as an unprivileged user when run as root (sway refuses root).
int runTests(int argc, char** argv);

}  // namespace swaytest
