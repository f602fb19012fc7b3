#include "data/log.hpp"

#include <cstdio>
#include <string>

namespace data {

bool DiagnosticLog::append(std::string_view line) {
    std::FILE* f = std::fopen(file_.c_str(), "ab");
    if (!f) return false;  // a read-only folder loses the line silently
    const size_t n = std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
    written_ += n;
    return true;
}

void DiagnosticLog::writeLog(std::string_view message) {
    if (file_.empty() || full_) return;
    if (!emptied_) {
        if (std::FILE* f = std::fopen(file_.c_str(), "wb")) std::fclose(f);
        emptied_ = true;
    }
    const std::string line = std::string(message) + "\n";
    // Room is always kept for the line that closes a full log.
    const size_t reserve = kFullLine.size() + 1;
    if (written_ + line.size() + reserve > limit_) {
        full_ = true;
        append(std::string(kFullLine) + "\n");
        return;
    }
    append(line);
}

}  // namespace data
