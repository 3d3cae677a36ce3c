#include "toolbar/input_time.h"

#include <chrono>

SteadyClock::time_point InputTimeline::madeAt(std::uint32_t eventTime, SteadyClock::time_point handledAt) {
    // Events come in order and close together, so the step from the last one, taken as signed, goes over a
    // wrap of the input clock.
    unwrapped_ = lastEventTime_ ? unwrapped_ + static_cast<std::int32_t>(eventTime - *lastEventTime_)
                                : static_cast<std::int64_t>(eventTime);
    lastEventTime_ = eventTime;
    const std::chrono::milliseconds stamp(unwrapped_);
    const SteadyClock::time_point::duration gap = handledAt.time_since_epoch() - stamp;
    if (!gap_ || gap < *gap_) {
        gap_ = gap;
    }
    return SteadyClock::time_point(stamp + *gap_);
}
