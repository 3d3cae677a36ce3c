#pragma once

#include "win32/dialogs/dialog_owners.h"

#include <windows.h>

// The dialogs' font: "ＭＳ Ｐゴシック" 12 pixels high at 96 DPI, scaled to dpi, or the system's own Japanese
// interface face where that face is missing.
FontOwner MakeDialogFont(UINT dpi, bool bold = false, bool underlined = false);
