#pragma once

#include "toolbar/geometry.h"

#include <span>

// Where the toolbar's frame goes at start: where it was stored when it meets any monitor, even in part (a
// frame a little off the screen's edge stays there); otherwise, on a monitor taken away since (a laptop away
// from its second screen), inside the work area of the monitor nearest to where it was.
Point FrameOnSomeMonitor(const Rect& frame, std::span<const Rect> monitors, std::span<const Rect> workAreas);
