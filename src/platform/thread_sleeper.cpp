#include "platform/thread_sleeper.h"

#include <thread>

void ThreadSleeper::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}
