#include "zenporo_program.h"

#include "target_program.h"
#include "toolbar/toolbar_layout.h"

namespace {

// A start takes well under a second under Wine; ten seconds covers a crowded test machine.
constexpr DWORD kWaitMs = 10000;
constexpr DWORD kPollMs = 20;
constexpr Size kButton{23, 22};

void writeFile(const std::wstring& path, const std::string& bytes) {
    const KernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

struct WindowSearch {
    const wchar_t* windowClass;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (process == search.processId && IsWindowVisible(window) && std::wstring(name) == search.windowClass) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

void sendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

}  // namespace

HWND waitForWindow(const wchar_t* windowClass, DWORD processId) {
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        WindowSearch search{windowClass, processId, nullptr};
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        pumpMessagesFor(kPollMs);
    }
    return nullptr;
}

void typeKeys(const std::vector<WORD>& keys) {
    for (const WORD key : keys) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof input[0]);
        pumpMessagesFor(50);
    }
}

ZenporoProgram::ZenporoProgram(const Files& files) {
    static int serial = 0;
    folder_ = testProgramFolder() + L"zenporo_run_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
              std::to_wstring(++serial) + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    CopyFileW((testProgramFolder() + L"zenporo.exe").c_str(), (folder_ + L"zenporo.exe").c_str(), FALSE);
    for (const auto& [name, bytes] : files) {
        writeFile(folder_ + name, bytes);
    }
}

ZenporoProgram::~ZenporoProgram() {
    close();
    for (const KernelHandle& process : processes_) {
        if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), kWaitMs);
        }
    }
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((folder_ + entry.cFileName).c_str());
            RemoveDirectoryW((folder_ + entry.cFileName).c_str());  // a folder a test put in a file's place
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder_.c_str());
}

HANDLE ZenporoProgram::start() {
    std::wstring commandLine = L"\"" + folder_ + L"zenporo.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const std::wstring elsewhere = testProgramFolder();
    SetEnvironmentVariableW(L"ZENPORO_LOG", (folder_ + L"zenporo.log").c_str());
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        elsewhere.c_str(), &startup, &info);
    SetEnvironmentVariableW(L"ZENPORO_LOG", nullptr);
    if (!started) {
        return nullptr;
    }
    CloseHandle(info.hThread);
    processes_.emplace_back(info.hProcess);
    return info.hProcess;
}

HWND ZenporoProgram::waitForToolbar() {
    if (processes_.empty()) {
        return nullptr;
    }
    toolbar_ = waitForWindow(L"ZenporoToolbar", GetProcessId(processes_.front().get()));
    return toolbar_;
}

POINT ZenporoProgram::centreOf(int number) const {
    RECT client{};
    GetClientRect(toolbar_, &client);
    const UINT dpi = GetDpiForWindow(toolbar_);
    const Size base{MulDiv(client.right, 96, static_cast<int>(dpi)),
                    MulDiv(client.bottom, 96, static_cast<int>(dpi))};
    const bool horizontal = base.width > base.height;
    const bool open = (horizontal ? base.width : base.height) > 100;
    const Rect rect = ControlRect(ArrangeButtonsLayout(horizontal, open, kButton), kButton, number);
    POINT centre{MulDiv(rect.x + rect.width / 2, static_cast<int>(dpi), 96),
                 MulDiv(rect.y + rect.height / 2, static_cast<int>(dpi), 96)};
    ClientToScreen(toolbar_, &centre);
    return centre;
}

void ZenporoProgram::pointAt(int number) {
    const POINT centre = centreOf(number);
    SetCursorPos(centre.x - 1, centre.y);
    pumpMessagesFor(50);
    SetCursorPos(centre.x, centre.y);
    sendMouse(MOUSEEVENTF_MOVE);
    pumpMessagesFor(50);
}

void ZenporoProgram::click(int number) {
    pointAt(number);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    sendMouse(MOUSEEVENTF_LEFTUP);
    pumpMessagesFor(50);
}

void ZenporoProgram::shiftClick(int number) {
    pointAt(number);
    INPUT input[4] = {};
    input[0].type = input[3].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[3].ki.wVk = VK_SHIFT;
    input[3].ki.dwFlags = KEYEVENTF_KEYUP;
    input[1].type = input[2].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof input[0]);
    pumpMessagesFor(300);  // let go after the click has come through, as a user does
    SendInput(1, &input[3], sizeof input[0]);
}

void ZenporoProgram::rightPress(int number) {
    pointAt(number);
    sendMouse(MOUSEEVENTF_RIGHTDOWN);
    sendMouse(MOUSEEVENTF_RIGHTUP);
}

bool ZenporoProgram::waitForDelivery() {
    std::size_t count = 0;
    const bool delivered = waitUntil([&] {
        const std::string lines = log();
        count = 0;
        for (const char* action : {"delivery: paste: ", "delivery: type: ", "delivery: next: "}) {
            for (auto at = lines.find(action); at != std::string::npos; at = lines.find(action, at + 1)) {
                ++count;
            }
        }
        return count > deliveriesSeen_;
    });
    deliveriesSeen_ = count;
    return delivered;
}

bool ZenporoProgram::waitForMenu(bool shown) {
    const DWORD process = processes_.empty() ? 0 : GetProcessId(processes_.front().get());
    return waitUntil([&] {
        WindowSearch search{L"#32768", process, nullptr};
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        return (search.found != nullptr) == shown;
    });
}

bool ZenporoProgram::waitForArrangement(bool vertical) const {
    return waitUntil([&] {
        RECT client{};
        GetClientRect(toolbar_, &client);
        return (client.bottom > client.right) == vertical;
    });
}

bool ZenporoProgram::close() {
    if (processes_.empty()) {
        return true;
    }
    if (toolbar_ != nullptr && IsWindow(toolbar_)) {
        PostMessageW(toolbar_, WM_CLOSE, 0, 0);
    }
    toolbar_ = nullptr;
    return WaitForSingleObject(processes_.front().get(), kWaitMs) == WAIT_OBJECT_0;
}

std::string ZenporoProgram::fileBytes(const std::wstring& name) const {
    return readFileBytes(folder_ + name);
}

std::string codePage932(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}
