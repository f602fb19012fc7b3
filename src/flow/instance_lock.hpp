#pragma once
#include <filesystem>

namespace flow {

// Only one copy of the game runs: the first holds an exclusive lock on a file in the runtime folder
// (or the temp folder) for as long as it lives.
class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another copy holds the lock.
    bool acquire(const std::filesystem::path& lockFile = defaultLockFile());
    static std::filesystem::path defaultLockFile();

  private:
    int fd_ = -1;
};

}  // namespace flow
