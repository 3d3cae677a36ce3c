#pragma once

#include "platform/win32/win32_handle.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// A running paste_target (beside the test program), closed and waited for on destruction.
class TargetProgram {
  public:
    // RefusingPaste: an ordinary window whose boxes ignore a paste; InputMethodOn: one whose input method is
    // on, as a Japanese user's form often is.
    enum class Placement { Ordinary, TopmostInactive, TopmostActive, RefusingPaste, InputMethodOn };
    explicit TargetProgram(const std::wstring& title, Placement placement = Placement::Ordinary,
                           const std::wstring& windowClass = L"ZenporoPasteTarget");
    TargetProgram(const TargetProgram&) = delete;
    TargetProgram& operator=(const TargetProgram&) = delete;
    ~TargetProgram();

    // Its main window once shown, else nullptr.
    HWND window() const { return window_; }

    // Closes the program and returns what each of its two boxes held (UTF-16). A close jumps ahead of keys
    // still queued: wait for the boxes first.
    std::vector<std::wstring> closeAndReadBoxes();
    // What its two boxes hold now, read from the running program; true once they hold the texts.
    std::vector<std::wstring> boxes() const;
    bool waitForBoxes(const std::vector<std::wstring>& texts) const;
    // Whether its input method is on.
    bool inputMethodOpen() const;

  private:
    std::wstring reportPath_;
    KernelHandle process_;
    HWND window_ = nullptr;
};

// The whole file, or nothing when it cannot be read.
std::string readFileBytes(const std::wstring& path);

// A folder of the test program's own, for files that tests write.
std::wstring testProgramFolder();

// Lets window messages of this thread through while waiting, as a program's message loop would.
void pumpMessagesFor(DWORD milliseconds);

// Asks until the condition holds, letting this thread's messages through, for at most ten seconds.
bool waitUntil(const std::function<bool()>& condition);

// Wine keeps no access lists of files (it makes one up from the Unix permissions), and its input method
// takes no orders from another program.
bool runningUnderWine();
