#pragma once
#include <cstddef>
#include <filesystem>
#include <string_view>

namespace data {

// The diagnostic log "crashDump.txt": emptied by the first line of a run, so a run that writes
// nothing leaves the previous run's log in place. Each line is on disk when writeLog returns.
// A run's log holds at most `limit` bytes: a game left running for days with a display that keeps
// losing its surfaces writes a line every tick of each loss, and the disk is not the log's to fill.
// The last line that fits says that later lines were dropped.
class DiagnosticLog {
  public:
    static constexpr size_t kDefaultLimit = 1 << 20;
    static constexpr std::string_view kFullLine = "log full: later lines dropped";

    DiagnosticLog() = default;
    explicit DiagnosticLog(std::filesystem::path file, size_t limit = kDefaultLimit) : file_(std::move(file)), limit_(limit) {}

    void writeLog(std::string_view message);
    const std::filesystem::path& file() const { return file_; }

  private:
    bool append(std::string_view line);

    std::filesystem::path file_;
    size_t limit_ = kDefaultLimit;
    size_t written_ = 0;
    bool emptied_ = false;
    bool full_ = false;
};

}  // namespace data
