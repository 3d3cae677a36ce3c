#include "platform/win32/win32_retry.h"

#include <algorithm>

bool RetryWhileHeld(const RetryTiming& timing, const std::function<bool()>& attempt,
                    const std::function<bool()>& passing) {
    const ULONGLONG deadline = GetTickCount64() + timing.giveUpAfterMs;
    DWORD wait = timing.firstWaitMs;
    for (;;) {
        if (attempt()) {
            return true;
        }
        if (!passing()) {
            return false;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        Sleep(static_cast<DWORD>(std::min<ULONGLONG>(wait, deadline - now)));
        wait = std::min(wait * 2, timing.longestWaitMs);
    }
}
