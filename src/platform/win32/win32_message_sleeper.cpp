#include "platform/win32/win32_message_sleeper.h"

#include <windows.h>

void Win32MessageSleeper::sleep(std::chrono::milliseconds duration) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(duration.count());
    for (;;) {
        // Handles every message sent to this thread; removes nothing from the queue of posted ones.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE,
                                    MWMO_INPUTAVAILABLE);
    }
}
