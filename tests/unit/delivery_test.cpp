#include "toolbar/delivery.h"
#include "platform/key_input.h"
#include "platform/sleeper.h"
#include "support/delivery_result_printer.h"
#include "toolbar/delivery_timing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

constexpr WindowHandle kToolbar = 5;
constexpr WindowHandle kBelow = 42;

const char* keyName(Key key) {
    switch (key) {
        case Key::Control:
            return "Ctrl";
        case Key::V:
            return "V";
        case Key::Tab:
            return "Tab";
        case Key::Return:
            return "Enter";
    }
    return "?";
}

// Every call of the fakes goes into one log, so the tests see the exact order of activation, waits and keys.
class FakeWindows : public WindowOrder {
  public:
    explicit FakeWindows(Log& log) : log_(log) {}
    std::optional<WindowHandle> below = kBelow;
    int inactivePolls = 0;  // how many isActive() calls answer false before the target is active
    WindowHandle askedFrom = 0;

    std::optional<WindowHandle> findWindowBelow(WindowHandle toolbar) override {
        askedFrom = toolbar;
        return below;
    }
    std::string windowTitle(WindowHandle window) override { return "title of " + std::to_string(window); }
    bool activate(WindowHandle window) override {
        log_.push_back("activate " + std::to_string(window));
        return true;
    }
    bool isActive(WindowHandle window) override { return window == kBelow && inactivePolls-- <= 0; }

  private:
    Log& log_;
};

class FakeKeys : public KeyInput {
  public:
    explicit FakeKeys(Log& log) : log_(log) {}
    std::set<Key> failingPresses;

    bool press(Key key) override {
        log_.push_back(std::string(keyName(key)) + " down");
        return failingPresses.count(key) == 0;
    }
    bool release(Key key) override {
        log_.push_back(std::string(keyName(key)) + " up");
        return true;
    }
    bool anyModifierHeld() override { return heldPolls-- > 0; }
    int heldPolls = 0;  // how many more times a modifier is reported held

  private:
    Log& log_;
};

class FakeSleeper : public Sleeper {
  public:
    explicit FakeSleeper(Log& log) : log_(log) {}
    void sleep(std::chrono::milliseconds duration) override {
        log_.push_back("sleep " + std::to_string(duration.count()));
    }

  private:
    Log& log_;
};

class DeliveryTest : public ::testing::Test {
  protected:
    Log log;
    FakeWindows windows{log};
    FakeKeys keys{log};
    FakeSleeper sleeper{log};
    DeliveryPorts ports{windows, keys, sleeper};
    ToolbarSettings settings;
};

const Log kCtrlV = {"Ctrl down", "V down", "Ctrl up", "V up"};

Log concat(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(DeliveryTest, PasteSendsCtrlVAndTheKeyAfterOfEachSetting) {
    struct Row {
        bool pasteAfter;
        int afterKey;
        Log keysAfterPaste;
    };
    const Row rows[] = {
        {false, 0, {}},
        {false, 1, {}},
        {true, 0, {"Tab down", "Tab up"}},
        {true, 1, {"Enter down", "Enter up"}},
        {true, 2, {"Enter down", "Enter up"}},
        {true, -1, {"Enter down", "Enter up"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "PasteAfter " << row.pasteAfter << " AfterKey " << row.afterKey);
        log.clear();
        settings.PasteAfter = row.pasteAfter;
        settings.AfterKey = row.afterKey;
        EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::Sent);
        const Log expected = concat(concat({"activate 42", "sleep 100"}, kCtrlV), row.keysAfterPaste);
        EXPECT_EQ(log, concat(expected, {"activate 42"}));
        EXPECT_EQ(windows.askedFrom, kToolbar);
    }
}

TEST_F(DeliveryTest, NextPressesTabOrEnterWithoutWaiting) {
    settings.NextKey = true;
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::Sent);
    EXPECT_EQ(log, (Log{"activate 42", "Tab down", "Tab up"}));

    log.clear();
    settings.NextKey = false;
    settings.PasteAfter = true;  // the paste settings play no part
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::Sent);
    EXPECT_EQ(log, (Log{"activate 42", "Enter down", "Enter up"}));
}

TEST_F(DeliveryTest, EveryPressedKeyIsReleasedWhenAPressFails) {
    struct Row {
        Key failing;
        Log expected;
    };
    // V is never pressed without Ctrl, and nothing follows a failed paste.
    const Row rows[] = {
        {Key::Control, {"Ctrl down", "Ctrl up", "V up"}},
        {Key::V, kCtrlV},
        {Key::Tab, concat(kCtrlV, {"Tab down", "Tab up"})},
    };
    settings.PasteAfter = true;
    settings.AfterKey = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(keyName(row.failing));
        log.clear();
        keys.failingPresses = {row.failing};
        EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::KeyFailed);
        EXPECT_EQ(log, concat({"activate 42", "sleep 100"}, row.expected));
    }

    log.clear();
    settings.NextKey = false;
    keys.failingPresses = {Key::Return};
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::KeyFailed);
    EXPECT_EQ(log, (Log{"activate 42", "Enter down", "Enter up"}));
}

TEST_F(DeliveryTest, NothingIsSentWhenNoWindowLiesBelow) {
    windows.below.reset();
    settings.PasteAfter = true;
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::NoWindowBelow);
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::NoWindowBelow);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(GetWindowBelowTitle(windows, kToolbar), "");
}

TEST_F(DeliveryTest, KeysWaitUntilTheTargetIsActive) {
    windows.inactivePolls = 2;
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::Sent);
    EXPECT_EQ(log, (Log{"activate 42", "sleep 10", "sleep 10", "Tab down", "Tab up"}));
}

TEST_F(DeliveryTest, NothingIsSentToATargetThatNeverBecomesActive) {
    windows.inactivePolls = 1'000'000;
    settings.PasteAfter = true;
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::TargetNotActive);
    for (const std::string& event : log) {
        EXPECT_TRUE(event == "activate 42" || event.rfind("sleep", 0) == 0) << event;
    }
    // The polling gives up after the timeout instead of waiting for ever.
    using namespace delivery_timing;
    const auto polls = std::count(log.begin(), log.end(), "sleep 10");
    EXPECT_EQ(polls, kActivationTimeout / kActivationPoll);
}

TEST_F(DeliveryTest, KeysWaitForTheUserToLetGoOfModifiersAndAreNotSentWhileHeld) {
    keys.heldPolls = 2;
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::Sent);
    EXPECT_EQ(log,
              concat(concat({"activate 42", "sleep 100", "sleep 10", "sleep 10"}, kCtrlV), {"activate 42"}));

    log.clear();
    keys.heldPolls = 1000;
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::ModifiersHeld);
    for (const std::string& entry : log) {
        EXPECT_TRUE(entry == "activate 42" || entry == "sleep 10") << entry;
    }
}

}  // namespace
