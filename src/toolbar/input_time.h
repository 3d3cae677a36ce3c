#pragma once

#include "platform/steady_clock.h"

#include <cstdint>
#include <optional>

// When the user made a click, as its input event records it: milliseconds of a clock of the platform's own
// (the X server's time, Windows' tick count), which wraps after 49 days. None for a click that no input
// event carries, such as one a program makes.
using InputEventTime = std::optional<std::uint32_t>;

// Places input events on the steady clock. An event is handled when it is made or later, never earlier, so
// the smallest gap seen between the two clocks is the truest; an event that waited while the toolbar was
// busy is placed when it was made, not when it was handled.
class InputTimeline {
  public:
    SteadyClock::time_point madeAt(std::uint32_t eventTime, SteadyClock::time_point handledAt);

  private:
    std::optional<std::uint32_t> lastEventTime_;
    std::int64_t unwrapped_ = 0;  // milliseconds, carried on over the wraps
    std::optional<SteadyClock::time_point::duration>
        gap_;  // the steady clock less the input clock, the smallest seen
};
