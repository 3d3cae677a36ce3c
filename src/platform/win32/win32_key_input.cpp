#include "platform/win32/win32_key_input.h"

#include "platform/win32/win32_handle.h"

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

std::optional<DWORD> integrityLevelOfToken(HANDLE token) {
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
        return std::nullopt;
    }
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
    const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
    if (count == 0) {
        return std::nullopt;
    }
    return *GetSidSubAuthority(label->Label.Sid, count - 1u);
}

std::optional<DWORD> integrityLevelOfProcess(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) {
        return std::nullopt;
    }
    const KernelHandle owned(token);
    return integrityLevelOfToken(owned.get());
}

// True when the foreground window's program runs above our integrity level, so Windows would drop our keys.
bool foregroundIsOutOfReach() {
    const std::optional<DWORD> theirs = integrityLevelOfWindow(GetForegroundWindow());
    const std::optional<DWORD> ours = integrityLevelOfProcess(GetCurrentProcess());
    return theirs && ours && *theirs > *ours;
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

std::optional<DWORD> integrityLevelOfWindow(HWND window) {
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0 || processId == 0) {
        return std::nullopt;
    }
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return std::nullopt;
    }
    return integrityLevelOfProcess(process.get());
}

std::unique_ptr<KeyInput> makeWin32KeyInput() {
    return std::make_unique<Win32KeyInput>();
}
