#include "platform/win32/win32_key_input.h"

#include "platform/log.h"
#include "platform/win32/win32_process_rights.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

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

class Win32KeyInput final : public KeyInput {
  public:
    explicit Win32KeyInput(Log* log) : log_(log) {}
    Win32KeyInput(const Win32KeyInput&) = delete;
    Win32KeyInput& operator=(const Win32KeyInput&) = delete;

    ~Win32KeyInput() override {
        for (const Key key : std::vector<Key>(down_)) {
            release(key);
        }
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

    // Unicode input needs no key of the layout, and the input method lets it pass as it comes.
    std::size_t prepareToType(std::u32string_view text) override { return text.size(); }

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
};

}  // namespace

std::unique_ptr<KeyInput> makeWin32KeyInput(Log* log) {
    return std::make_unique<Win32KeyInput>(log);
}
