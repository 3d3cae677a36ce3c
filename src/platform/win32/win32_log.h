#pragma once

#include "platform/log.h"
#include "platform/win32/win32_handle.h"

// On when the environment variable ZENPORO_LOG names a file: each line, as "zenporo.files: text", is appended
// there in UTF-8 with CR LF, and also goes to the debugger's output (OutputDebugStringW). Off, nothing is
// written anywhere.
class Win32Log : public Log {
  public:
    Win32Log();
    void write(LogCategory category, std::string_view utf8Message) override;

  private:
    KernelHandle file_;
};
