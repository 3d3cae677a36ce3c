#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

// Owns a kernel object handle (process, token, mutex, file) and closes it once.
struct KernelHandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};
using KernelHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleCloser>;
