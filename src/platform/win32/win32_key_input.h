#pragma once

#include "platform/key_input.h"

#include <memory>

class Log;

// Synthetic keys through SendInput. Keys still down when it is destroyed are released then. Text is typed as
// Unicode key strokes (KEYEVENTF_UNICODE). The target's input method, when on, is turned off for the typing
// and on again a moment after it (a timer of this thread, which must handle its messages; at the latest on
// destruction); where it stays on, nothing is typed and the log says why.
//
// Windows drops keys sent to a program that runs elevated ("as administrator") or at a higher integrity level
// while we do not, yet SendInput reports them as sent. A press or chord is therefore refused, reported as
// failed and told to the log (null for none), while the foreground window belongs to such a program, or to
// one that does not let us read its rights.
std::unique_ptr<KeyInput> makeWin32KeyInput(Log* log = nullptr);
