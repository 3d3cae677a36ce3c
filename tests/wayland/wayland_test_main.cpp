#include "wayland_test_main.h"

#include "compositor_input.h"
#include "portal_stack.h"
#include "wayland_session.h"
#include "x11_test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace waylandtest {
namespace {

std::unique_ptr<WaylandSession> sharedSession;
std::unique_ptr<PortalStack> sharedPortal;
std::unique_ptr<CompositorInput> sharedInput;

class SessionEnvironment : public ::testing::Environment {
  public:
    explicit SessionEnvironment(bool withPortal) : withPortal_(withPortal) {}
    void SetUp() override {
        sharedSession = std::make_unique<WaylandSession>();
        if (!sharedSession->ready()) {
            return;
        }
        sharedSession->exportEnvironment();
        setenv("QT_QPA_PLATFORM", "xcb", 1);  // the test process is an X11 client, as the program is
        x11test::application();               // bus connections want an application first
        if (!withPortal_) {
            return;
        }
        sharedInput = std::make_unique<CompositorInput>(sharedSession->busAddress());
        sharedPortal = std::make_unique<PortalStack>(*sharedSession);
    }
    void TearDown() override {
        sharedPortal.reset();
        sharedInput.reset();
        sharedSession.reset();
    }

  private:
    bool withPortal_;
};

constexpr uid_t kUnprivileged = 65534;  // nobody

// Whether the unprivileged user can run this program where it lies (a build inside a private home folder
// cannot be reached).
bool unprivilegedCanRun(const char* path) {
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(kUnprivileged) != 0 || setuid(kUnprivileged) != 0) {
            _exit(2);
        }
        _exit(access(path, X_OK) == 0 ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void runUnprivileged(char** argv) {
    if (geteuid() != 0 || !unprivilegedCanRun(argv[0])) {
        return;
    }
    std::vector<char*> arguments = {const_cast<char*>("setpriv"), const_cast<char*>("--reuid=65534"),
                                    const_cast<char*>("--regid=65534"), const_cast<char*>("--clear-groups"),
                                    const_cast<char*>("--")};
    for (char** argument = argv; *argument != nullptr; ++argument) {
        arguments.push_back(*argument);
    }
    arguments.push_back(nullptr);
    execvp("setpriv", arguments.data());
    // Without setpriv the test goes on as root; the compositor then says why it cannot serve us.
}

std::string missingSession() {
    if (sharedSession && sharedSession->ready()) {
        return {};
    }
    return "no Wayland compositor: " + (sharedSession ? sharedSession->failure() : std::string());
}

PortalStack* portal() {
    return sharedPortal.get();
}

CompositorInput* input() {
    return sharedInput.get();
}

int runTests(int argc, char** argv, bool withPortal) {
    runUnprivileged(argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(
        new SessionEnvironment(withPortal));  // GoogleTest owns and deletes it
    return RUN_ALL_TESTS();
}

}  // namespace waylandtest
