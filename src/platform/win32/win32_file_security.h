#pragma once

#include <memory>
#include <string>

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

// The access a new file that holds personal details gets in the folder: PersonalFileSecurity on a fixed disk
// of this PC (and on a network drive), where it protects; null, the folder's own access, on a removable
// drive (a USB stick, a memory card) or an external disk, which the portable folder is carried on to other
// PCs, where this PC's account is unknown and a protected file could be neither read nor saved.
OwnedDescriptor NewFileSecurity(const std::wstring& folder);
