#pragma once

#include "compositor_input.h"
#include "portal_stack.h"
#include "wayland_test_main.h"

#include <gtest/gtest.h>

// A test in the program's shared Wayland session with the desktop portal, whose backend allows, and the
// compositor's own mouse and keyboard.
class PortalSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const std::string why = waylandtest::missingSession(); !why.empty()) {
            GTEST_SKIP() << why;
        }
        portal = waylandtest::portal();
        ASSERT_TRUE(portal->ready()) << portal->failure();
        portal->setAnswer(PortalStack::Answer::Grant);
        input = waylandtest::input();
        ASSERT_TRUE(input->ready()) << input->failure().toStdString();
    }

    PortalStack* portal = nullptr;
    CompositorInput* input = nullptr;
};
