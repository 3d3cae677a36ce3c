#pragma once

#include <chrono>
#include <functional>

// Runs the program's event loop until done() is true, for at most the cap; false when the cap ran out. The
// user's clicks and keys stay queued meanwhile, so no second delivery starts inside the one that waits.
bool ServeEventsUntil(std::chrono::milliseconds cap, const std::function<bool()>& done);
