#pragma once

#include <optional>

#include <windows.h>

// What Windows' user interface privilege isolation looks at when a program sends keys to another: the
// integrity level of each process and whether it runs elevated ("as administrator"). Each is nothing when
// Windows does not let us read it.
struct ProcessRights {
    std::optional<DWORD> integrityLevel;  // a SECURITY_MANDATORY_*_RID value
    std::optional<bool> elevated;
};

ProcessRights rightsOfProcess(HANDLE process);

// The rights of the process that owns the window; both nothing when it cannot be opened.
ProcessRights rightsOfWindow(HWND window);

// True when Windows would drop keys that the sender sends to the target: the target runs at a higher
// integrity level or elevated while the sender does not. Unknown rights never count as higher.
bool keysWouldBeDropped(const ProcessRights& sender, const ProcessRights& target);
