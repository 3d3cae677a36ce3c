#pragma once

// The single-instance guard: held from a successful acquire until the process ends.
class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // True when no other process holds the lock of this name; the lock is then ours until we exit.
    virtual bool acquire() = 0;
};
