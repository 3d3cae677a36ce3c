#include "toolbar/delivery.h"
#include "platform/clipboard.h"
#include "platform/key_input.h"
#include "platform/log.h"
#include "platform/native_keyboard.h"
#include "platform/seat_keyboard.h"
#include "platform/sleeper.h"
#include "platform/steady_clock.h"
#include "support/delivery_result_printer.h"
#include "toolbar/clipboard_handoff.h"
#include "toolbar/delivery_routes.h"
#include "toolbar/delivery_timing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Trace = std::vector<std::string>;

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
        case Key::A:
            return "A";
    }
    return "?";
}

// Every call of the fakes goes into one log, so the tests see the exact order of activation, waits and keys.
class FakeWindows : public WindowOrder {
  public:
    explicit FakeWindows(Trace& log) : log_(log) {}
    std::optional<WindowHandle> below = kBelow;
    int inactivePolls = 0;          // how many isActive() calls answer false before the target is active
    int activeAnswers = 1'000'000;  // how many isActive() calls answer true after that, until the focus moves
    bool wayland = false;
    std::optional<WindowHandle> lastActive;
    std::optional<WindowHandle> active;  // what activeWindow() answers, when set
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
    bool isActive(WindowHandle window) override {
        return window == kBelow && inactivePolls-- <= 0 && activeAnswers-- > 0;
    }
    void undoActivation(WindowHandle window) override { log_.push_back("undo " + std::to_string(window)); }
    WindowHandle activeWindow() override { return active.value_or(activeAnswers > 0 ? kBelow : 77); }
    bool isWaylandSession() override { return wayland; }
    std::optional<WindowHandle> lastActiveWindow() override { return lastActive; }
    std::string describe(WindowHandle window) override { return "#" + std::to_string(window); }

  private:
    Trace& log_;
};

class FakeKeys : public KeyInput {
  public:
    explicit FakeKeys(Trace& log) : log_(log) {}
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

    std::size_t prepareToType(std::u32string_view text) override {
        const std::size_t ready = inputMethodStaysOn ? 0 : std::min(text.size(), keysAtOnce);
        log_.push_back("make keys for " + std::to_string(ready));
        return ready;
    }
    bool typeCharacter(char32_t character) override {
        log_.push_back(std::string("type ") + static_cast<char>(character));
        return true;
    }
    void finishTyping() override { log_.push_back("typing over"); }
    bool typingHeldBackByInputMethod() const override { return inputMethodStaysOn; }
    bool inputMethodStaysOn = false;
    std::size_t keysAtOnce = 100;  // how many characters the platform can make keys for at once

  private:
    Trace& log_;
};

class FakeClock : public SteadyClock {
  public:
    time_point now() override { return time; }
    time_point time;
};

// Advances the fake clock by the wait asked for, or by a whole timer tick where a platform rounds up to one.
class FakeSleeper : public Sleeper {
  public:
    FakeSleeper(Trace& log, FakeClock& clock) : log_(log), clock_(clock) {}
    void sleep(std::chrono::milliseconds duration) override {
        log_.push_back("sleep " + std::to_string(duration.count()));
        clock_.time += std::max(duration, tick);
    }
    std::chrono::milliseconds tick{0};

  private:
    Trace& log_;
    FakeClock& clock_;
};

ClipboardRequest compositors(ClipboardRequest::Kind kind) {
    return {kind, true, kind == ClipboardRequest::Kind::Formats ? "TARGETS" : "text"};
}
const ClipboardRequest kTargets = compositors(ClipboardRequest::Kind::Formats);
const ClipboardRequest kRead = compositors(ClipboardRequest::Kind::Text);
const ClipboardRequest kOtherClientsRead{ClipboardRequest::Kind::Text, false, "text by 0x600001"};

// The requests other programs make arrive while the delivery waits serving events: one batch per wait.
using Batches = std::vector<std::vector<ClipboardRequest>>;

class FakeClipboard : public Clipboard {
  public:
    bool setText(const std::string&) override { return true; }
    std::optional<std::string> text() override { return std::nullopt; }
    bool ownsText() override { return owned; }
    std::vector<ClipboardRequest> requestsSinceSet() const override { return seen; }
    void arrive() {
        if (!arriving.empty()) {
            seen.insert(seen.end(), arriving.front().begin(), arriving.front().end());
            arriving.erase(arriving.begin());
        }
    }
    bool owned = true;
    std::vector<ClipboardRequest> seen;
    std::vector<std::vector<ClipboardRequest>> arriving;
};

class FakeLog : public ::Log {
  public:
    std::vector<std::string> lines;
    void write(LogCategory category, std::string_view message) override {
        EXPECT_EQ(category, LogCategory::Delivery);
        lines.emplace_back(message);
    }
};

class FakeNativeKeyboard : public NativeKeyboard {
  public:
    FakeNativeKeyboard(Trace& log, FakeKeys& keys, FakeClipboard& clipboard)
        : log_(log), keys_(keys), clipboard_(clipboard) {}
    State current = State::Unavailable;
    bool remembers = true;
    bool kept = false;
    std::optional<State> afterRestore;  // where a restore of the kept allowance ends during the click's wait
    bool keptAfterRestore = false;      // a restore that ends NotAsked keeps the allowance (a restart)

    State state() override { return current; }
    bool remembersConsent() override { return remembers; }
    bool hasKeptConsent() override { return kept; }
    void askConsent(WindowHandle toolbar) override {
        log_.push_back("ask consent for " + std::to_string(toolbar));
        current = State::Asking;
    }
    void setChangeListener(std::function<void(Change)>) override {}
    KeyInput& keys() override { return keys_; }
    bool waitServingEvents(std::chrono::milliseconds cap, const std::function<bool()>& done) override {
        log_.push_back("wait " + std::to_string(cap.count()));
        clipboard_.arrive();
        if (current == State::Asking && afterRestore) {
            current = *afterRestore;
            kept = current != State::NotAsked || keptAfterRestore;
        }
        return done();
    }

  private:
    Trace& log_;
    FakeKeys& keys_;
    FakeClipboard& clipboard_;
};

class DeliveryTest : public ::testing::Test {
  protected:
    Trace log;
    FakeWindows windows{log};
    FakeKeys keys{log};
    FakeClock clock;
    FakeSleeper sleeper{log, clock};
    FakeLog lines;
    FakeClipboard clipboard;
    FakeNativeKeyboard native{log, keys, clipboard};
    DeliveryPorts ports{windows, keys, sleeper, clock, &lines, &native, &clipboard};
    ToolbarSettings settings;
};

const Trace kCtrlV = {"Ctrl down", "V down", "Ctrl up", "V up"};

Trace concat(Trace a, const Trace& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(DeliveryTest, PasteSendsCtrlVAndTheKeyAfterOfEachSetting) {
    struct Row {
        bool pasteAfter;
        int afterKey;
        Trace keysAfterPaste;
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
        EXPECT_EQ(log, concat(concat({"activate 42", "sleep 100"}, kCtrlV), row.keysAfterPaste));
        EXPECT_EQ(windows.askedFrom, kToolbar);
    }
}

TEST_F(DeliveryTest, NextPressesTabOrEnterWithoutWaiting) {
    settings.NextKey = true;
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::Sent);
    EXPECT_EQ(log, (Trace{"activate 42", "Tab down", "Tab up"}));

    log.clear();
    settings.NextKey = false;
    settings.PasteAfter = true;  // the paste settings play no part
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::Sent);
    EXPECT_EQ(log, (Trace{"activate 42", "Enter down", "Enter up"}));
}

TEST_F(DeliveryTest, EveryPressedKeyIsReleasedWhenAPressFails) {
    struct Row {
        Key failing;
        Trace expected;
    };
    // V is never pressed without Ctrl, and nothing follows a failed paste.
    const Row rows[] = {
        {Key::Control, {"Ctrl down", "Ctrl up"}},
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
    EXPECT_EQ(log, (Trace{"activate 42", "Enter down", "Enter up"}));
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
    EXPECT_EQ(log, (Trace{"activate 42", "sleep 10", "sleep 10", "Tab down", "Tab up"}));
}

TEST_F(DeliveryTest, NothingIsSentToATargetThatNeverBecomesActive) {
    windows.inactivePolls = 1'000'000;
    settings.PasteAfter = true;
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::TargetNotActive);
    for (const std::string& event : log) {
        EXPECT_TRUE(event == "activate 42" || event == "undo 42" || event.rfind("sleep", 0) == 0) << event;
    }
    // Nothing was sent, so the focus is given back.
    EXPECT_EQ(log.back(), "undo 42");
    // The polling gives up after the timeout instead of waiting for ever.
    using namespace delivery_timing;
    const auto polls = std::count(log.begin(), log.end(), "sleep 10");
    EXPECT_EQ(polls, kActivationTimeout / kActivationPoll);

    // A platform whose waits last a whole timer tick: the timeout is still a second, not a hundred ticks.
    sleeper.tick = std::chrono::milliseconds{16};
    const SteadyClock::time_point begin = clock.time;
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::TargetNotActive);
    EXPECT_LE(clock.time - begin, kPasteSettle + kActivationTimeout + sleeper.tick);
}

TEST_F(DeliveryTest, NothingIsSentWhenAnotherProgramTookTheClipboardBeforeCtrlV) {
    clipboard.owned = false;
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::ClipboardNotOwned);
    EXPECT_EQ(log, (Trace{"activate 42", "sleep 100", "undo 42"}));
}

TEST_F(DeliveryTest, KeysWaitForTheUserToLetGoOfModifiersAndAreNotSentWhileHeld) {
    keys.heldPolls = 2;
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::Sent);
    EXPECT_EQ(log, concat({"activate 42", "sleep 100", "sleep 10", "sleep 10"}, kCtrlV));

    log.clear();
    keys.heldPolls = 1000;
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::ModifiersHeld);
    for (const std::string& entry : log) {
        EXPECT_TRUE(entry == "activate 42" || entry == "undo 42" || entry == "sleep 10") << entry;
    }
    EXPECT_EQ(log.back(), "undo 42");
}

// The foreground is asked for once more after the last key only when the target is no longer in front.
TEST_F(DeliveryTest, EveryKeyWaitsForTheTargetToStillBeActiveAndNothingFollowsALostFocus) {
    struct Row {
        int activeAnswers;  // the first is the wait for the activation, then one before each key press, then
                            // whether the target is still in front after the last key
        DeliveryResult result;
        Trace keysSent;
    };
    const Row rows[] = {
        {1, DeliveryResult::FocusLost, {}},
        {2, DeliveryResult::FocusLost, {"Ctrl down", "Ctrl up"}},
        {3, DeliveryResult::FocusLost, kCtrlV},
        {4, DeliveryResult::Sent, concat(kCtrlV, {"Tab down", "Tab up", "activate 42"})},
        {5, DeliveryResult::Sent, concat(kCtrlV, {"Tab down", "Tab up"})},
    };
    settings.PasteAfter = true;
    settings.AfterKey = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.activeAnswers);
        log.clear();
        lines.lines.clear();
        windows.activeAnswers = row.activeAnswers;
        EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), row.result);
        EXPECT_EQ(log, concat({"activate 42", "sleep 100"}, row.keysSent));
        ASSERT_EQ(lines.lines.size(), 1u);
        if (row.result == DeliveryResult::FocusLost) {
            EXPECT_EQ(lines.lines[0], "paste: the window below lost the focus; expected #42, found #77");
        }
    }

    log.clear();
    windows.activeAnswers = 1;
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), DeliveryResult::FocusLost);
    EXPECT_EQ(log, (Trace{"activate 42"}));
}

TEST_F(DeliveryTest, InAWaylandSessionOnlyTheLastActiveX11WindowIsTypedInto) {
    struct Row {
        bool wayland;
        std::optional<WindowHandle> lastActive;
        DeliveryResult result;
        const char* logLine;
    };
    const Row rows[] = {
        {true, 0, DeliveryResult::NotLastActive,
         "next: the window below is not the one last active; expected #42, found none (or a window X11 "
         "cannot see)"},
        {true, 7, DeliveryResult::NotLastActive,
         "next: the window below is not the one last active; expected #42, found #7"},
        {true, std::nullopt, DeliveryResult::NotLastActive, nullptr},
        {true, kBelow, DeliveryResult::Sent, "next: sent; expected #42, found #42"},
        {false, 0, DeliveryResult::Sent, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.wayland << " " << row.lastActive.value_or(999));
        log.clear();
        lines.lines.clear();
        windows.wayland = row.wayland;
        windows.lastActive = row.lastActive;
        EXPECT_EQ(PressNextKeyInWindowBelow(settings, kToolbar, ports), row.result);
        if (row.result == DeliveryResult::NotLastActive) {
            EXPECT_TRUE(log.empty()) << "nothing is activated or sent";
        } else {
            EXPECT_EQ(log, (Trace{"activate 42", "Tab down", "Tab up"}));
        }
        ASSERT_EQ(lines.lines.size(), 1u);
        if (row.logLine != nullptr) {
            EXPECT_EQ(lines.lines[0], row.logLine);
        }
    }
}

// A Wayland session whose user was last in a native window: the keys go through the desktop's remote
// control once it is allowed, with the paste's wait before TAB; the X11 window below plays no part.
TEST_F(DeliveryTest, ANativeWindowGetsTheKeysOnlyOnceTheDesktopAllowsIt) {
    using State = NativeKeyboard::State;
    struct Row {
        State state;
        bool remembers;
        std::optional<WindowHandle> x11Active;
        DeliveryResult paste;
        Trace pasteTrace;
        Trace nextTrace;  // after the paste, from the state the paste left
    };
    const Trace pasted = concat(concat({"wait 1000"}, kCtrlV), {"wait 1000", "Enter down", "Enter up"});
    const Row rows[] = {
        {State::NotAsked, true, 0, DeliveryResult::ConsentAsked, {"ask consent for 5"}, {}},
        {State::NotAsked, false, 0, DeliveryResult::ConsentAskedThisRun, {"ask consent for 5"}, {}},
        {State::Asking, true, 0, DeliveryResult::ConsentPending, {}, {}},
        {State::Refused, true, 0, DeliveryResult::ConsentRefused, {}, {}},
        {State::Ready, true, 0, DeliveryResult::Sent, pasted, {"Tab down", "Tab up"}},
        // An X11 window took the focus meanwhile: the keys would land there.
        {State::Ready, true, 9, DeliveryResult::FocusLost, {"wait 1000"}, {}},
        // No way to native windows on this desktop: the copy and its notice, as before.
        {State::Unavailable, true, 0, DeliveryResult::NotLastActive, {}, {}},
    };
    windows.wayland = true;
    windows.lastActive = 0;
    settings.PasteAfter = true;
    settings.AfterKey = 1;
    settings.NextKey = true;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(row.state) << " " << *row.x11Active);
        log.clear();
        native.current = row.state;
        native.remembers = row.remembers;
        clipboard.seen.clear();
        clipboard.arriving = {{kTargets, kRead}, {kRead}};
        windows.active = row.x11Active;
        EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), row.paste);
        EXPECT_EQ(log, row.pasteTrace);
        log.clear();
        PressNextKeyInWindowBelow(settings, kToolbar, ports);
        EXPECT_EQ(log, row.nextTrace);
    }
    EXPECT_TRUE(std::ranges::any_of(lines.lines, [](const std::string& line) {
        return line.starts_with("paste into the native window with the keyboard focus: sent; through");
    }));
}

TEST(ClipboardHandOff, TheCompositorHoldsTheTextOnlyAfterItsFormatsAndThenAReadAndThePasteIsOneMoreRead) {
    const ClipboardRequest otherClientsFormats{ClipboardRequest::Kind::Formats, false, "TARGETS by 0x600001"};
    struct Row {
        const char* name;
        std::vector<ClipboardRequest> requests;
        bool taken;
        bool fetchedAfterTwo;  // a paste sent once the first two requests were seen
    };
    const Row rows[] = {
        {"none", {}, false, false},
        {"formats only", {kTargets}, false, false},
        {"a read before the formats", {kRead, kTargets}, false, false},
        {"another client's", {otherClientsFormats, kOtherClientsRead}, false, false},
        {"taken, the manager's copy", {kTargets, kRead}, true, false},
        {"another client reads after the paste", {kTargets, kRead, kOtherClientsRead}, true, false},
        {"the paste's read", {kTargets, kRead, kRead}, true, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CompositorTookClipboard(row.requests), row.taken) << row.name;
        EXPECT_EQ(PasteFetchedText(row.requests, 2), row.fetchedAfterTwo) << row.name;
    }
}

// A native paste waits for what the compositor does with the clipboard, never for a blind while: Ctrl+V only
// once it holds our text, TAB or ENTER only once the window fetched it.
TEST_F(DeliveryTest, ANativePasteSendsNothingBlind) {
    struct Row {
        const char* name;
        std::vector<std::vector<ClipboardRequest>> arriving;  // one batch per wait
        bool owned;
        DeliveryResult result;
        Trace trace;
    };
    const Row rows[] = {
        {"nothing asked", {}, true, DeliveryResult::CompositorDidNotTake, {"wait 1000"}},
        {"formats only", {{kTargets}}, true, DeliveryResult::CompositorDidNotTake, {"wait 1000"}},
        {"another program took the clipboard",
         {{kTargets, kRead}},
         false,
         DeliveryResult::ClipboardNotOwned,
         {"wait 1000"}},
        {"no fetch after Ctrl+V",
         {{kTargets, kRead}, {kOtherClientsRead}},
         true,
         DeliveryResult::PasteUnconfirmed,
         concat(concat({"wait 1000"}, kCtrlV), {"wait 1000"})},
    };
    windows.wayland = true;
    windows.lastActive = 0;
    windows.active = 0;
    native.current = NativeKeyboard::State::Ready;
    settings.PasteAfter = true;
    settings.AfterKey = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        log.clear();
        lines.lines.clear();
        clipboard.seen.clear();
        clipboard.arriving = row.arriving;
        clipboard.owned = row.owned;
        EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), row.result);
        EXPECT_EQ(log, row.trace);
        ASSERT_EQ(lines.lines.size(), 1u);
        if (row.result != DeliveryResult::ClipboardNotOwned) {
            EXPECT_NE(lines.lines[0].find("clipboard requests since it was set: " +
                                          DescribeClipboardRequests(clipboard.seen)),
                      std::string::npos)
                << lines.lines[0];
        }
    }
}

// An allowance kept from an earlier run is restored inside the first click, which then pastes; a restore
// still running after the wait sends nothing, then or later.
TEST_F(DeliveryTest, AKeptConsentIsRestoredWithinTheClick) {
    using State = NativeKeyboard::State;
    struct Row {
        std::optional<State> afterRestore;
        DeliveryResult result;
        Trace trace;
        bool keptAfterRestore = false;
    };
    const Row rows[] = {
        {State::Ready, DeliveryResult::Sent,
         concat(concat({"ask consent for 5", "wait 500", "wait 1000"}, kCtrlV),
                {"wait 1000", "Tab down", "Tab up"})},
        {std::nullopt, DeliveryResult::ConsentResuming, {"ask consent for 5", "wait 500"}},
        // The desktop dropped the kept allowance: its dialog is asked for in the same click.
        {State::NotAsked,
         DeliveryResult::ConsentAsked,
         {"ask consent for 5", "wait 500", "ask consent for 5"}},
        // The service restarted meanwhile and the allowance stays: no dialog is promised, nothing asked
        // again.
        {State::NotAsked, DeliveryResult::SessionLost, {"ask consent for 5", "wait 500"}, true},
    };
    windows.wayland = true;
    windows.lastActive = 0;
    windows.active = 0;
    settings.PasteAfter = true;
    settings.AfterKey = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(DeliveryResultName(row.result));
        log.clear();
        native.current = State::NotAsked;
        native.kept = true;
        native.afterRestore = row.afterRestore;
        native.keptAfterRestore = row.keptAfterRestore;
        clipboard.seen.clear();
        clipboard.arriving = {{}, {kTargets, kRead}, {kRead}};
        EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), row.result);
        EXPECT_EQ(log, row.trace);
    }
}

// Typed text: keys made for as many characters as the platform can at once, the target checked before each
// character, a steady pace, and TAB after the last as for a paste.
TEST_F(DeliveryTest, TypingChecksTheTargetBeforeEachCharacterAndStopsWhereItLosesIt) {
    struct Row {
        std::size_t keysAtOnce;
        int activeAnswers;  // the activation's wait, then one before each character
        TypingOutcome outcome;
        Trace trace;
    };
    const Row rows[] = {
        {100,
         1000,
         {DeliveryResult::Sent, 3, 3},
         {"make keys for 3", "type a", "sleep 3", "type b", "sleep 3", "type c", "sleep 3", "typing over",
          "Tab down", "Tab up"}},
        {2,
         1000,
         {DeliveryResult::Sent, 3, 3},
         {"make keys for 2", "type a", "sleep 3", "type b", "sleep 3", "make keys for 1", "type c", "sleep 3",
          "typing over", "Tab down", "Tab up"}},
        {100, 2, {DeliveryResult::FocusLost, 1, 3}, {"make keys for 3", "type a", "sleep 3", "typing over"}},
    };
    settings.PasteAfter = true;
    settings.AfterKey = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keysAtOnce);
        log.clear();
        keys.keysAtOnce = row.keysAtOnce;
        windows.activeAnswers = row.activeAnswers;
        const TypingOutcome outcome = TypeIntoWindowBelow(U"abc", settings, kToolbar, ports);
        EXPECT_EQ(outcome.result, row.outcome.result);
        EXPECT_EQ(outcome.typed, row.outcome.typed);
        EXPECT_EQ(log, concat({"activate 42", "sleep 100"}, row.trace));
    }
    // An input method that stays on would keep the keys in its composition: the text is pasted instead.
    log.clear();
    keys.inputMethodStaysOn = true;
    windows.activeAnswers = 1000;
    const TypingOutcome pasted = TypeIntoWindowBelow(U"abc", settings, kToolbar, ports);
    EXPECT_EQ(pasted.result, DeliveryResult::PastedForInputMethod);
    EXPECT_EQ(log, concat(concat({"activate 42", "sleep 100", "make keys for 0", "typing over"}, kCtrlV),
                          {"Tab down", "Tab up"}));
}

// sway and the other wlroots compositors: the window the user was in is activated again first, so every
// outcome gives it the keyboard back; keys only once the compositor says it is activated and, after Ctrl+V,
// the key after only once the window fetched the text (a clipboard manager's read before it does not count).
class FakeSeat : public SeatKeyboard {
  public:
    FakeSeat(Trace& log, FakeKeys& keys, FakeClipboard& clipboard)
        : log_(log), keys_(keys), clipboard_(clipboard) {}
    std::optional<Window> user = Window{7, "paste_target", "title of 42"};
    bool activates = true;

    std::optional<Window> lastUserWindow() override { return user; }
    void activate(WindowId window) override { log_.push_back("activate " + std::to_string(window)); }
    bool isActivated(WindowId, bool) override { return activated_; }
    KeyInput& keys() override { return keys_; }
    bool waitServingEvents(std::chrono::milliseconds cap, const std::function<bool()>& done) override {
        log_.push_back("wait " + std::to_string(cap.count()));
        clipboard_.arrive();
        activated_ = activates;
        return done();
    }

  private:
    Trace& log_;
    FakeKeys& keys_;
    FakeClipboard& clipboard_;
    bool activated_ = false;
};

TEST_F(DeliveryTest, ThroughTheSeatTheUsersWindowGetsTheKeyboardBackWhateverFollows) {
    FakeSeat seat(log, keys, clipboard);
    ports.seat = &seat;
    settings.PasteAfter = true;
    settings.AfterKey = 0;
    // The modifiers are looked at first, while the toolbar still has the keyboard.
    const Trace activation = {"wait 2000", "activate 7", "wait 500"};
    struct Row {
        const char* name;
        bool activates;
        std::optional<WindowHandle> x11LastActive;  // 0: a native window was last active
        bool owned;
        DeliveryResult result;
        Trace trace;
    };
    const Row rows[] = {
        {"never activated", false, 0, true, DeliveryResult::TargetNotActive, activation},
        {"another X11 window was last active",
         true,
         WindowHandle{9},
         true,
         DeliveryResult::WindowsDisagree,
         {"wait 2000", "activate 7"}},
        {"clipboard taken meanwhile", true, 0, false, DeliveryResult::ClipboardNotOwned, activation},
        {"only the manager's read", true, 0, true, DeliveryResult::PasteUnconfirmed,
         concat(concat(activation, kCtrlV), {"wait 1000"})},
        {"the window's read", true, kBelow, true, DeliveryResult::Sent,
         concat(concat(concat(activation, kCtrlV), {"wait 1000"}), {"Tab down", "Tab up"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        log.clear();
        clipboard.seen.clear();
        // The manager reads at once (one batch per wait); the window only in the last row.
        clipboard.arriving = {{kRead}, {}};
        if (row.result == DeliveryResult::Sent) {
            clipboard.arriving.push_back({kRead});
        }
        clipboard.owned = row.owned;
        seat.activates = row.activates;
        windows.lastActive = row.x11LastActive;
        EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), row.result);
        EXPECT_EQ(log, row.trace);
    }
    // A clipboard manager that read one text before its Ctrl+V is waited for with the next: its late read is
    // not the window's fetch, and no TAB follows a paste nobody took.
    DeliveryRoutes routes(&ports);
    windows.lastActive = 0;
    for (const auto& [arriving, result] :
         {std::pair{Batches{{kRead}, {}, {kRead}}, DeliveryResult::Sent},
          std::pair{Batches{{}, {}, {kRead}, {}}, DeliveryResult::PasteUnconfirmed}}) {
        clipboard.seen.clear();
        clipboard.arriving = arriving;
        EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, routes), result);
    }
    // With no key to follow, a paste that no window fetched is still told.
    settings.PasteAfter = false;
    clipboard.seen.clear();
    clipboard.arriving = {{kRead}, {}};
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::PasteNotFetched);
    keys.heldPolls = 1'000'000;  // a modifier held throughout
    log.clear();
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::ModifiersHeld);
    EXPECT_EQ(log, (Trace{"wait 2000", "activate 7"}));
    seat.user.reset();
    log.clear();
    EXPECT_EQ(PasteIntoWindowBelow(settings, kToolbar, ports), DeliveryResult::NoWindowBelow);
    EXPECT_EQ(log, Trace{});
}

}  // namespace
