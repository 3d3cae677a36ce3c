#pragma once

#include "platform/win32/win32_handle.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A running paste_target (beside the test program), closed and waited for on destruction.
class TargetProgram {
  public:
    // RefusingPaste: an ordinary window whose boxes ignore a paste.
    enum class Placement { Ordinary, TopmostInactive, TopmostActive, RefusingPaste };
    explicit TargetProgram(const std::wstring& title, Placement placement = Placement::Ordinary,
                           const std::wstring& windowClass = L"ZenporoPasteTarget");
    TargetProgram(const TargetProgram&) = delete;
    TargetProgram& operator=(const TargetProgram&) = delete;
    ~TargetProgram();

    // Its main window once shown, else nullptr.
    HWND window() const { return window_; }

    // Closes the program and returns what each of its two boxes held (UTF-16).
    std::vector<std::wstring> closeAndReadBoxes();

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
