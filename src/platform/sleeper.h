#pragma once

#include <chrono>

// Blocks the calling thread for a while; tests hand in one that only records the waits.
class Sleeper {
  public:
    virtual ~Sleeper() = default;
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};
