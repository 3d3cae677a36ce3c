#pragma once

#include <windows.h>

#include <functional>

// How long to keep trying something another program holds for a moment: the first wait, each wait after it
// twice the one before up to the longest, and the time after which the attempts stop.
struct RetryTiming {
    DWORD firstWaitMs;
    DWORD longestWaitMs;
    ULONGLONG giveUpAfterMs;
};

// Calls attempt until it succeeds; stops early when passing (asked right after a failed attempt) says the
// failure will not pass by waiting. True when an attempt succeeded.
bool RetryWhileHeld(
    const RetryTiming& timing, const std::function<bool()>& attempt,
    const std::function<bool()>& passing = [] { return true; });
