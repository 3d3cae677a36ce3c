#include "target_program.h"

#include <array>
#include <sstream>

namespace {

// A started program shows its window within a few hundred milliseconds under Wine; ten seconds covers a
// crowded test machine.
constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kPollMs = 20;
// paste_target's two boxes, and its request for the open state of its input method.
constexpr std::array<int, 2> kBoxIds = {101, 102};
constexpr UINT kAskInputMethodOpen = WM_APP;

std::wstring fromUtf8(const std::string& bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

}  // namespace

std::string readFileBytes(const std::wstring& path) {
    const KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(GetFileSize(file.get(), nullptr)), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

std::wstring testProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

void pumpMessagesFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount64() < end);
}

bool waitUntil(const std::function<bool()>& condition) {
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += kPollMs) {
        if (condition()) {
            return true;
        }
        pumpMessagesFor(kPollMs);
    }
    return condition();
}

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TargetProgram::TargetProgram(const std::wstring& title, Placement placement,
                             const std::wstring& windowClass) {
    static int serial = 0;
    reportPath_ = testProgramFolder() + L"target_report_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                  std::to_wstring(++serial) + L".txt";
    DeleteFileW(reportPath_.c_str());
    std::wstring commandLine =
        L"\"" + testProgramFolder() + L"paste_target.exe\" \"" + title + L"\" \"" + reportPath_ + L"\"";
    constexpr const wchar_t* kOptions[] = {L"", L" --topmost", L" --topmost-active", L" --refuse-paste",
                                           L" --input-method-on"};
    commandLine += kOptions[static_cast<int>(placement)];
    if (windowClass != L"ZenporoPasteTarget") {
        commandLine += L" --class " + windowClass;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return;
    }
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    WaitForInputIdle(info.hProcess, kStartTimeoutMs);
    for (DWORD waited = 0; waited < kStartTimeoutMs && window_ == nullptr; waited += kPollMs) {
        window_ = FindWindowW(windowClass.c_str(), title.c_str());
        if (window_ == nullptr || !IsWindowVisible(window_)) {
            window_ = nullptr;
            pumpMessagesFor(kPollMs);
        }
    }
}

TargetProgram::~TargetProgram() {
    if (process_) {
        closeAndReadBoxes();
    }
}

std::vector<std::wstring> TargetProgram::closeAndReadBoxes() {
    if (!process_) {
        return {};
    }
    if (window_ != nullptr) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process_.get(), kStartTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_.get(), 1);
    }
    process_.reset();
    window_ = nullptr;
    std::vector<std::wstring> boxes;
    std::istringstream lines(readFileBytes(reportPath_));
    for (std::string line; std::getline(lines, line);) {
        boxes.push_back(fromUtf8(line));
    }
    DeleteFileW(reportPath_.c_str());
    return boxes;
}

std::vector<std::wstring> TargetProgram::boxes() const {
    std::vector<std::wstring> texts;
    for (const int id : kBoxIds) {
        wchar_t text[256] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(GetDlgItem(window_, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, kStartTimeoutMs, &length);
        texts.emplace_back(text);
    }
    return texts;
}

bool TargetProgram::waitForBoxes(const std::vector<std::wstring>& texts) const {
    return waitUntil([&] { return boxes() == texts; });
}

bool TargetProgram::inputMethodOpen() const {
    DWORD_PTR open = 0;
    SendMessageTimeoutW(window_, kAskInputMethodOpen, 0, 0, SMTO_ABORTIFHUNG, kStartTimeoutMs, &open);
    return open != 0;
}
