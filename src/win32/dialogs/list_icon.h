#pragma once

#include "win32/dialogs/dialog_owners.h"

#include <windows.h>

// The list's one picture, image 0: the shell's document icon at the small icon size of dpi.
ImageListOwner MakeListIcons(UINT dpi);
