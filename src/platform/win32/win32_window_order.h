#pragma once

#include "platform/text_codec.h"
#include "platform/window_order.h"

#include <memory>

class Log;

#include <windows.h>

// A WindowHandle of the Win32 program is an HWND.
inline WindowHandle toWindowHandle(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window));
}
inline HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window));
}

// The Z order of the desktop's top-level windows, walked with GetWindow(GW_HWNDNEXT); titles through the
// codec given, which must outlive the window order, as must the log (null for none): it hears why keys
// were held back from a target whose menu is open.
std::unique_ptr<WindowOrder> makeWin32WindowOrder(const TextCodec& codec, Log* log = nullptr);
