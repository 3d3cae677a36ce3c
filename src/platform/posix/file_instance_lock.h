#pragma once

#include "platform/instance_lock.h"

#include <sys/types.h>

#include <string>

// The single-instance guard as an exclusive lock on a file. The lock belongs to the open file, so it lasts
// until this object is destroyed or the process ends, however the process ends; the file itself stays behind
// and is harmless. Keep the object alive until the main window has been destroyed and has written its
// settings.
class FileInstanceLock final : public InstanceLock {
  public:
    explicit FileInstanceLock(std::string path);
    FileInstanceLock(const FileInstanceLock&) = delete;
    FileInstanceLock& operator=(const FileInstanceLock&) = delete;
    ~FileInstanceLock() override;

    // False while another process (or another lock object) holds the lock. When the lock file cannot be
    // opened or is owned by another user, the guard is unavailable and the start goes ahead, as it would when
    // the platform could not create its named lock.
    bool acquire() override;

  private:
    std::string path_;
    int fd_ = -1;
};

// The lock file for a name: in the user's runtime folder when runtimeFolder is an absolute path, otherwise in
// /tmp with the user id in the name, so that users of one machine do not block each other.
std::string InstanceLockPath(const std::string& name, const char* runtimeFolder, uid_t user);

// InstanceLockPath for this process's user and $XDG_RUNTIME_DIR.
std::string DefaultInstanceLockPath(const std::string& name);
