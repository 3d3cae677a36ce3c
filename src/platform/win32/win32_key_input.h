#pragma once

#include "platform/key_input.h"

#include <memory>

// Synthetic keys through SendInput. Keys still down when it is destroyed are released then.
//
// Windows drops keys sent to a program that runs elevated ("as administrator") or at a higher integrity level
// while we do not, yet SendInput reports them as sent. A press is therefore refused, and reported as
// failed, while the foreground window belongs to such a program, as far as Windows lets us read its token.
std::unique_ptr<KeyInput> makeWin32KeyInput();
