#pragma once
#include <filesystem>
#include <string_view>

namespace data {

// The diagnostic log "crashDump.txt": emptied by the first line of a run, so a run that writes
// nothing leaves the previous run's log in place. Each line is on disk when writeLog returns.
class DiagnosticLog {
public:
    DiagnosticLog() = default;
    explicit DiagnosticLog(std::filesystem::path file) : file_(std::move(file)) {}

    void writeLog(std::string_view message);
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
    bool emptied_ = false;
};

}  // namespace data
