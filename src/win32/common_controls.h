#pragma once

#include <windows.h>

// The common controls of the program's manifest (version 6), loaded when a window first needs them, not at
// start, with the control classes asked for registered. Their functions are looked up by name.
class CommonControls {
  public:
    explicit CommonControls(DWORD classes);
    ~CommonControls();
    CommonControls(const CommonControls&) = delete;
    CommonControls& operator=(const CommonControls&) = delete;

    // The library's function of that name; null when the library or the function is missing.
    template <typename Function>
    Function function(const char* name) const {
        return library_ != nullptr
                   ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library_, name)))
                   : nullptr;
    }

  private:
    HMODULE library_;
};
