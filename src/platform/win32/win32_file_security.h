#pragma once

#include <memory>

#include <windows.h>

// A security descriptor that LocalFree releases.
struct LocalFreeDeleter {
    void operator()(void* memory) const { LocalFree(memory); }
};
using OwnedDescriptor = std::unique_ptr<void, LocalFreeDeleter>;

// The access a new file that holds personal details gets: full access for the user this process runs as, for
// SYSTEM and for the Administrators, as Windows' own profile folders give it (backup programs run as SYSTEM;
// an administrator can reach the files after a reinstall gave the user a new SID), nobody else, and nothing
// inherited from the folder. Null when the user cannot be known.
OwnedDescriptor PersonalFileSecurity();
