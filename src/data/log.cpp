#include "data/log.hpp"

#include <cstdio>
#include <string>

namespace data {

void DiagnosticLog::writeLog(std::string_view message) {
    if (file_.empty()) return;
    if (!emptied_) {
        if (std::FILE* f = std::fopen(file_.c_str(), "wb")) std::fclose(f);
        emptied_ = true;
    }
    std::FILE* f = std::fopen(file_.c_str(), "ab");
    if (!f) return;  // a read-only folder loses the line silently
    const std::string line = std::string(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
}

}  // namespace data
