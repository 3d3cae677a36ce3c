#pragma once

#include "platform/key_input.h"

#include <memory>

class Log;

// Synthetic keys through SendInput. Keys still down when it is destroyed are released then. Text is typed as
// Unicode key strokes (KEYEVENTF_UNICODE), which the input method lets pass as they are.
//
// Windows drops keys sent to a program that runs elevated ("as administrator") or at a higher integrity level
// while we do not, yet SendInput reports them as sent. A press or chord is therefore refused, reported as
// failed and told to the log (null for none), while the foreground window belongs to such a program, or to
// one that does not let us read its rights.
std::unique_ptr<KeyInput> makeWin32KeyInput(Log* log = nullptr);
