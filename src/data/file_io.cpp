#include "data/file_io.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace data {

namespace fs = std::filesystem;

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

std::string failure(const char* step, const fs::path& file, int error) {
    std::string text = step;
    text.append(" ").append(file.string()).append(": ").append(std::strerror(error));
    return text;
}

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> readWholeFile(const fs::path& file, size_t limit) {
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    if (static_cast<uint64_t>(info.st_size) > limit) return std::nullopt;

    // The size is only a hint: the file may change while it is read. Read up to one byte past the
    // limit so that a file that grew is still refused.
    std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size) + 1);
    size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > limit) return std::nullopt;
            bytes.resize(std::min(limit + 1, bytes.size() * 2));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    if (got > limit) return std::nullopt;
    bytes.resize(got);
    return bytes;
}

bool unreadableFile(const fs::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return errno != ENOENT;
    uint8_t byte = 0;
    return ::read(fd.get(), &byte, 1) < 0;
}

WriteResult keptUnread(const std::string& gamePath) {
    return {false, gamePath + " could not be read at start and is left as it is"};
}

WriteResult writeFileAtomically(const fs::path& file, std::span<const uint8_t> bytes) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    // A unique name: two processes saving into one folder never write into each other's file.
    std::string hidden = file.filename().string();
    hidden.insert(hidden.begin(), '.');
    hidden.append(".XXXXXX");
    std::string pattern = (folder / hidden).string();
    Descriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0) return {false, failure("cannot create a file beside", file, errno)};
    const fs::path temporary = pattern;

    auto abandon = [&](const char* step) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return WriteResult{false, failure(step, file, error)};
    };
    // mkstemp makes the file readable by its owner only; a saved file is an ordinary one.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd.get(), 0666 & ~mask);
    if (!writeAll(fd.get(), bytes)) return abandon("cannot write");
    if (::fsync(fd.get()) != 0) return abandon("cannot flush");
    if (!fd.close()) return abandon("cannot close");
    if (::rename(temporary.c_str(), file.c_str()) != 0) return abandon("cannot replace");

    // The rename lives in the folder: sync it too. A folder that cannot be opened for this (some
    // file systems) still holds the new file.
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0 && ::fsync(dir.get()) != 0 && errno != EINVAL)
        return {false, failure("cannot flush the folder of", file, errno)};
    return {};
}

}  // namespace data
