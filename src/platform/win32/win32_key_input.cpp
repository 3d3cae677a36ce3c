#include "platform/win32/win32_key_input.h"

#include "platform/log.h"
#include "platform/win32/win32_process_rights.h"
#include "platform/win32/win32_target_input_method.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace {

// How long after the last typed character the target's input method is turned on again: the target reads
// the keys, and the TAB or ENTER after them, from its queue within milliseconds unless it is busy, and a
// request to the input method would be answered before keys still queued. Half a second covers a busy
// target while the user has hardly begun to type again.
constexpr UINT kReopenInputMethodAfterMs = 500;

WORD virtualKey(Key key) {
    switch (key) {
        case Key::Control:
            return VK_CONTROL;
        case Key::V:
            return 'V';
        case Key::Tab:
            return VK_TAB;
        case Key::Return:
            return VK_RETURN;
        case Key::A:
            return 'A';
    }
    return 0;
}

INPUT keyEvent(Key key, DWORD flags) {
    const WORD code = virtualKey(key);
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

bool sendEvents(std::vector<INPUT>& events) {
    return SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)) == events.size();
}

class Win32KeyInput;

// The key input whose reopening timer runs: the timer's callback carries no pointer of ours.
Win32KeyInput* reopening = nullptr;

class Win32KeyInput final : public KeyInput {
  public:
    explicit Win32KeyInput(Log* log) : log_(log) {}
    Win32KeyInput(const Win32KeyInput&) = delete;
    Win32KeyInput& operator=(const Win32KeyInput&) = delete;

    ~Win32KeyInput() override {
        for (const Key key : std::vector<Key>(down_)) {
            release(key);
        }
        reopenInputMethod();
    }

    bool press(Key key) override {
        if (foregroundIsOutOfReach()) {
            return false;
        }
        std::vector<INPUT> events{keyEvent(key, 0)};
        if (!sendEvents(events)) {
            return false;
        }
        if (std::find(down_.begin(), down_.end(), key) == down_.end()) {
            down_.push_back(key);
        }
        return true;
    }

    bool release(Key key) override {
        down_.erase(std::remove(down_.begin(), down_.end(), key), down_.end());
        std::vector<INPUT> events{keyEvent(key, KEYEVENTF_KEYUP)};
        return sendEvents(events);
    }

    bool anyModifierHeld() override {
        constexpr std::array kModifiers = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN};
        return std::any_of(kModifiers.begin(), kModifiers.end(),
                           [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; });
    }

    // One check, then every press and release in a single SendInput call: Windows puts no other input, the
    // user's own keys included, between the events of one call.
    ChordResult sendChord(std::initializer_list<Key> chord,
                          const std::function<bool()>& targetHasFocus) override {
        if (!targetHasFocus()) {
            return ChordResult::FocusLost;
        }
        if (foregroundIsOutOfReach()) {
            return ChordResult::KeyFailed;
        }
        std::vector<INPUT> events;
        std::vector<INPUT> releases;
        for (const Key key : chord) {
            events.push_back(keyEvent(key, 0));
            releases.push_back(keyEvent(key, KEYEVENTF_KEYUP));
        }
        events.insert(events.end(), releases.begin(), releases.end());
        if (sendEvents(events)) {
            return ChordResult::Sent;
        }
        // Blocked part-way: the releases once more, so no key stays down.
        sendEvents(releases);
        return ChordResult::KeyFailed;
    }

    // Unicode input needs no key of the layout. An input method that is on may take the characters into its
    // composition, and the ENTER after them would then confirm it instead of the form: it is turned off for
    // the typing, or nothing is typed when it stays on.
    std::size_t prepareToType(std::u32string_view text) override {
        heldBackByInputMethod_ = false;
        if (!inputMethodChecked_) {
            if (!turnOffInputMethodForTyping()) {
                heldBackByInputMethod_ = true;
                return 0;
            }
            inputMethodChecked_ = true;
        }
        return text.size();
    }

    bool typingHeldBackByInputMethod() const override { return heldBackByInputMethod_; }

    // The input method turned off for the typing comes on again once the target has read the keys.
    void finishTyping() override {
        inputMethodChecked_ = false;
        if (turnedOff_) {
            reopening = this;
            reopenTimer_ = SetTimer(nullptr, reopenTimer_, kReopenInputMethodAfterMs, reopenLater);
        }
    }

    // The character's UTF-16 units as Unicode key strokes, each pressed and released, in one call.
    bool typeCharacter(char32_t character) override {
        if (foregroundIsOutOfReach()) {
            return false;
        }
        std::vector<WORD> units;
        if (character >= 0x10000) {
            units = {static_cast<WORD>(0xD800 + ((character - 0x10000) >> 10)),
                     static_cast<WORD>(0xDC00 + ((character - 0x10000) & 0x3FF))};
        } else {
            units = {static_cast<WORD>(character)};
        }
        std::vector<INPUT> events;
        for (const WORD unit : units) {
            for (const DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
                INPUT input{};
                input.type = INPUT_KEYBOARD;
                input.ki.wScan = unit;
                input.ki.dwFlags = flags;
                events.push_back(input);
            }
        }
        return sendEvents(events);
    }

  private:
    // False when the foreground window's input method is on and stays on when asked to turn off.
    bool turnOffInputMethodForTyping() {
        const std::optional<TargetInputMethod> method = TargetInputMethod::of(GetForegroundWindow());
        if (turnedOff_ && method && method->imeWindow() == turnedOff_->imeWindow()) {
            stopReopenTimer();  // still off from the typing a moment ago; the user's state stays known
        } else if (turnedOff_) {
            reopenInputMethod();  // another window's, still off from an earlier typing
        }
        if (!method || method->isOpen() != true) {
            return true;  // off, none, or a program that does not answer: the keys go in as they are
        }
        if (!method->setOpen(false)) {
            note("nothing typed: the window's input method is on and did not let itself be turned off");
            return false;
        }
        turnedOff_ = method;
        return true;
    }

    void stopReopenTimer() {
        if (reopenTimer_ != 0) {
            KillTimer(nullptr, reopenTimer_);
            reopenTimer_ = 0;
        }
        if (reopening == this) {
            reopening = nullptr;
        }
    }

    void reopenInputMethod() {
        stopReopenTimer();
        if (turnedOff_ && !turnedOff_->setOpen(true)) {
            note("the window's input method, turned off for typing, could not be turned on again");
        }
        turnedOff_.reset();
    }

    static void CALLBACK reopenLater(HWND, UINT, UINT_PTR, DWORD) {
        if (reopening != nullptr) {
            reopening->reopenInputMethod();
        }
    }

    void note(const std::string& line) {
        if (log_ != nullptr) {
            log_->write(LogCategory::Delivery, line);
        }
    }

    // True when the foreground window's program is out of our reach, so Windows would drop our keys
    // (SendInput would still report them sent).
    bool foregroundIsOutOfReach() {
        const HWND foreground = GetForegroundWindow();
        const ProcessRights target = rightsOfWindow(foreground);
        if (!keysWouldBeDropped(rightsOfProcess(GetCurrentProcess()), target)) {
            return false;
        }
        if (log_ != nullptr) {
            log_->write(LogCategory::Delivery,
                        target.accessDenied
                            ? "keys not sent: Windows refuses to tell the rights of the foreground window's "
                              "program (another account's elevated program, or a protected one)"
                            : "keys not sent: the foreground window's program runs with higher rights "
                              "(elevated), and Windows would drop them");
        }
        return true;
    }

    Log* log_;
    std::vector<Key> down_;
    bool inputMethodChecked_ = false;     // during one typing
    bool heldBackByInputMethod_ = false;  // the last prepareToType found it on and could not turn it off
    std::optional<TargetInputMethod> turnedOff_;  // the input method this turned off, until it is on again
    UINT_PTR reopenTimer_ = 0;
};

}  // namespace

std::unique_ptr<KeyInput> makeWin32KeyInput(Log* log) {
    return std::make_unique<Win32KeyInput>(log);
}
