#pragma once

#include <string>

class CompositorInput;
class PortalStack;

namespace waylandtest {

// What runTests started once for all tests of the program. Why there is no session to test in (for
// GTEST_SKIP); empty when there is one, its environment exported into this process.
std::string missingSession();
// The desktop portal and the compositor's own mouse and keyboard, when asked for (null otherwise).
PortalStack* portal();
CompositorInput* input();

// As root, runs this program again with its arguments as an unprivileged user (nobody); returns only when
// that user cannot reach the program or there is no setpriv, and everything stays root.
void runUnprivileged(char** argv);

// main() of a Wayland test program: runs every test in one Wayland session of its own, with the desktop
// portal and the compositor's input when withPortal. As root the program first runs itself again as an
// unprivileged user: the compositor and every client must run as one user (Xwayland refuses another user's
// connection), and best not as root.
int runTests(int argc, char** argv, bool withPortal);

}  // namespace waylandtest
