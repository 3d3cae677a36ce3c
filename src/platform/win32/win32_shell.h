#pragma once

#include "platform/shell.h"
#include "platform/text_codec.h"

#include <windows.h>

// Addresses and documents handed to their handlers with ShellExecuteW. The codec must outlive the shell.
class Win32Shell final : public Shell {
  public:
    explicit Win32Shell(const TextCodec& codec, HWND owner = nullptr) : codec_(codec), owner_(owner) {}
    // The window that any message of the handler belongs to (the version box while it is shown).
    void setOwner(HWND owner) { owner_ = owner; }

    bool openUrl(const std::string& sjisUrl) override;
    bool openFile(const std::string& sjisPath) override;

  private:
    bool open(const std::string& sjisTarget);

    const TextCodec& codec_;
    HWND owner_;
};
