#pragma once

#include "platform/key_input.h"

#include <memory>
#include <optional>

#include <windows.h>

// Synthetic keys through SendInput. Keys still down when it is destroyed are released then.
//
// Windows drops keys sent to a program that runs with a higher integrity level (an elevated program, "run
// as administrator") than ours, yet SendInput reports them as sent. A press is therefore refused, and
// reported as failed, while the foreground window belongs to such a program, as far as Windows lets us
// read that program's level.
std::unique_ptr<KeyInput> makeWin32KeyInput();

// The integrity level (a SECURITY_MANDATORY_*_RID value) of the process that owns the window; nothing when
// Windows does not let us read it.
std::optional<DWORD> integrityLevelOfWindow(HWND window);
