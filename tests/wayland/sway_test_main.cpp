#include "sway_test_main.h"

#include "sway_input.h"
#include "sway_session.h"
#include "wayland_test_main.h"
#include "x11_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace swaytest {
namespace {

std::unique_ptr<SwaySession> sharedSession;
std::unique_ptr<SwayInput> sharedInput;

class SessionEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        sharedSession = std::make_unique<SwaySession>();
        if (!sharedSession->ready()) {
            return;
        }
        sharedSession->exportEnvironment();
        sharedInput = std::make_unique<SwayInput>(*sharedSession);
        setenv("QT_QPA_PLATFORM", "xcb", 1);  // the test process is an X11 client, as the program is
        x11test::application();
    }
    void TearDown() override {
        sharedInput.reset();
        sharedSession.reset();
    }
};

}  // namespace

std::string missingSession() {
    if (sharedSession && sharedSession->ready()) {
        return {};
    }
    return "no sway session: " + (sharedSession ? sharedSession->failure() : std::string());
}

SwaySession& session() {
    return *sharedSession;
}

SwayInput& input() {
    return *sharedInput;
}

int runTests(int argc, char** argv) {
    waylandtest::runUnprivileged(argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SessionEnvironment);  // GoogleTest owns and deletes it
    return RUN_ALL_TESTS();
}

}  // namespace swaytest
