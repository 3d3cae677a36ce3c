#pragma once

#include "platform/sleeper.h"

// Really waits, on the calling thread.
class ThreadSleeper : public Sleeper {
  public:
    void sleep(std::chrono::milliseconds duration) override;
};
