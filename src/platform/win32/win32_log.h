#pragma once

#include "platform/log.h"
#include "platform/win32/win32_handle.h"

// Writes each line, as "zenporo.files: text", to the debugger's output (OutputDebugStringW, which nobody
// sees without a debugger) and, when the environment variable ZENPORO_LOG names a file, appends it there in
// UTF-8 with CR LF. Without that variable nothing reaches a file.
class Win32Log : public Log {
  public:
    Win32Log();
    void write(LogCategory category, std::string_view utf8Message) override;

  private:
    KernelHandle file_;
};
