#pragma once

#include <chrono>

// A clock that only goes forward, for deadlines: a wait lasts as long as the platform's timer makes it (a
// Windows wait rounds up to its timer tick), so loops count time, not polls.
class SteadyClock {
  public:
    using time_point = std::chrono::steady_clock::time_point;
    virtual ~SteadyClock() = default;
    virtual time_point now() = 0;
};

// The standard library's steady clock.
class SystemSteadyClock : public SteadyClock {
  public:
    time_point now() override { return std::chrono::steady_clock::now(); }
};
