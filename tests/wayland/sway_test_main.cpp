#include "sway_test_main.h"

#include "sway_input.h"
#include "sway_session.h"
#include "wayland_test_main.h"
#include "x11_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
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

void SwayTest::SetUp() {
    if (const std::string why = missingSession(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    input = &swaytest::input();
    ASSERT_TRUE(input->ready()) << input->failure().toStdString();
}

bool SwayTest::focus(const std::string& title) {
    return session().command("[title=\"^" + title + "$\"] focus");
}

bool SwayTest::shown(std::initializer_list<std::string> titles) {
    return std::all_of(titles.begin(), titles.end(), [](const std::string& title) {
        return x11test::waitUntil([&] { return focus(title); });
    });
}

int runTests(int argc, char** argv) {
    waylandtest::runUnprivileged(argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new SessionEnvironment);  // GoogleTest owns and deletes it
    return RUN_ALL_TESTS();
}

}  // namespace swaytest
