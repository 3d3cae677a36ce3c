#pragma once

#include "platform/shell.h"
#include "platform/text_codec.h"

#include <windows.h>

// Addresses and documents handed to their handlers with ShellExecuteW and the handler's default verb.
// ShellExecuteW may hand the work to shell extensions, which need COM in an apartment-threaded thread: the
// shell initialises it on the user-interface thread at its first use (CoInitializeEx,
// COINIT_APARTMENTTHREADED) and releases that when it is destroyed. The shell's and COM's libraries are loaded
// then too, not at the program's start. Use and destroy it on that one thread. The codec must outlive the
// shell.
class Win32Shell final : public Shell {
  public:
    explicit Win32Shell(const TextCodec& codec, HWND owner = nullptr) : codec_(codec), owner_(owner) {}
    ~Win32Shell() override;
    Win32Shell(const Win32Shell&) = delete;
    Win32Shell& operator=(const Win32Shell&) = delete;

    // The window that any message of the handler belongs to (the version box while it is shown).
    void setOwner(HWND owner) { owner_ = owner; }

    bool openUrl(const std::string& sjisUrl) override;
    // path is UTF-8, as every path of the Windows program.
    bool openFile(const std::string& path) override;

  private:
    bool open(const std::wstring& target);
    void initialiseCom();

    const TextCodec& codec_;
    HWND owner_;
    bool comInitialised_ = false;  // this shell's CoInitializeEx succeeded and awaits its CoUninitialize
    bool comTried_ = false;
};
