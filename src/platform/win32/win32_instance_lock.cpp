#include "platform/win32/win32_instance_lock.h"

bool Win32InstanceLock::acquire() {
    if (mutex_) {
        return true;
    }
    KernelHandle mutex(CreateMutexW(nullptr, FALSE, name_.c_str()));
    const DWORD error = GetLastError();
    if (!mutex) {
        return error != ERROR_ACCESS_DENIED;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        return false;
    }
    mutex_ = std::move(mutex);
    return true;
}
