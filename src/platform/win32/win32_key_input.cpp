#include "platform/win32/win32_key_input.h"

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
    }
    return 0;
}

// True when the foreground window's program is out of our reach, so Windows would drop our keys.
bool foregroundIsOutOfReach() {
    return keysWouldBeDropped(rightsOfProcess(GetCurrentProcess()), rightsOfWindow(GetForegroundWindow()));
}

class Win32KeyInput final : public KeyInput {
  public:
    Win32KeyInput() = default;
    Win32KeyInput(const Win32KeyInput&) = delete;
    Win32KeyInput& operator=(const Win32KeyInput&) = delete;

    ~Win32KeyInput() override {
        for (const Key key : std::vector<Key>(down_)) {
            release(key);
        }
    }

    bool press(Key key) override {
        if (foregroundIsOutOfReach() || !send(key, 0)) {
            return false;
        }
        if (std::find(down_.begin(), down_.end(), key) == down_.end()) {
            down_.push_back(key);
        }
        return true;
    }

    bool release(Key key) override {
        down_.erase(std::remove(down_.begin(), down_.end(), key), down_.end());
        return send(key, KEYEVENTF_KEYUP);
    }

    bool anyModifierHeld() override {
        constexpr std::array kModifiers = {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN};
        return std::any_of(kModifiers.begin(), kModifiers.end(),
                           [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; });
    }

  private:
    static bool send(Key key, DWORD flags) {
        const WORD code = virtualKey(key);
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        return SendInput(1, &input, sizeof input) == 1;
    }

    std::vector<Key> down_;
};

}  // namespace

std::unique_ptr<KeyInput> makeWin32KeyInput() {
    return std::make_unique<Win32KeyInput>();
}
