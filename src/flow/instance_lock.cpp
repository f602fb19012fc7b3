#include "flow/instance_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace flow {

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::filesystem::path InstanceLock::defaultLockFile() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    if (runtime && *runtime && std::filesystem::is_directory(runtime, ec)) return std::filesystem::path(runtime) / "lumerik.lock";
    return std::filesystem::temp_directory_path(ec) / ("lumerik-" + std::to_string(::getuid()) + ".lock");
}

bool InstanceLock::acquire(const std::filesystem::path& lockFile) {
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a lock file to hold there is no way to tell; run rather than refuse.
    if (fd_ < 0) return true;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
    ::close(fd_);
    fd_ = -1;
    return false;
}

}  // namespace flow
