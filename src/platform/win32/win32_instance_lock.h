#pragma once

#include "platform/instance_lock.h"
#include "platform/win32/win32_handle.h"

#include <string>

// The single-instance guard as a named mutex of the user's session. The name exists while any handle to it
// is open, so the guard lasts until this object is destroyed or the process ends, however it ends. Keep the
// object alive until the main window has been destroyed and has written its settings.
class Win32InstanceLock final : public InstanceLock {
  public:
    static constexpr const wchar_t* kApplicationLockName = L"Zenpad_Ruvek_Application";

    explicit Win32InstanceLock(std::wstring name = kApplicationLockName) : name_(std::move(name)) {}

    // False when the mutex already exists: another instance holds it (or one of another user or of an
    // elevated instance that we may not even open). When it cannot be created for any other reason the
    // guard is unavailable and the start goes ahead.
    bool acquire() override;

  private:
    std::wstring name_;
    KernelHandle mutex_;
};
