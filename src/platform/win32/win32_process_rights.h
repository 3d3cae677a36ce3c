#pragma once

#include <optional>

#include <windows.h>

// What Windows' user interface privilege isolation looks at when a program sends keys to another: the
// integrity level of each process and whether it runs elevated ("as administrator"). Each is nothing when
// Windows does not let us read it; accessDenied tells that it refused to (an elevated program of another
// account, a protected process).
struct ProcessRights {
    std::optional<DWORD> integrityLevel;  // a SECURITY_MANDATORY_*_RID value
    std::optional<bool> elevated;
    bool accessDenied = false;
};

ProcessRights rightsOfProcess(HANDLE process);

// The rights of the process that owns the window; both nothing when it cannot be opened.
ProcessRights rightsOfWindow(HWND window);

// True when Windows would drop keys that the sender sends to the target: the target runs at a higher
// integrity level or elevated while the sender does not, or it refuses to tell its rights (the safe side).
// Rights unknown for any other reason never count as higher.
bool keysWouldBeDropped(const ProcessRights& sender, const ProcessRights& target);
