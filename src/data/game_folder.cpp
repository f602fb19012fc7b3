#include "data/game_folder.hpp"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <system_error>

namespace data {

namespace fs = std::filesystem;

namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

GameFolder::GameFolder(fs::path root, fs::path writeRoot)
    : root_(std::move(root)), writeRoot_(writeRoot.empty() ? root_ : std::move(writeRoot)) {}

std::string normaliseGamePath(std::string_view gamePath) {
    std::string out;
    out.reserve(gamePath.size());
    for (char c : gamePath) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return out;
}

fs::path matchCaseInsensitive(const fs::path& base, std::string_view relative) {
    const fs::path written = base / normaliseGamePath(relative);
    std::error_code ec;
    if (fs::exists(written, ec)) return written;

    fs::path current = base;
    const fs::path rel = normaliseGamePath(relative);
    for (const fs::path& part : rel) {
        const std::string name = part.string();
        if (name.empty()) continue;
        fs::path exact = current / part;
        if (fs::exists(exact, ec)) {
            current = exact;
            continue;
        }
        bool found = false;
        if (fs::is_directory(current, ec)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(current, ec)) {
                if (equalNoCase(entry.path().filename().string(), name)) {
                    current = entry.path();
                    found = true;
                    break;
                }
            }
        }
        if (!found) return written;
    }
    return current;
}

fs::path GameFolder::resolve(std::string_view gamePath) const { return matchCaseInsensitive(root_, gamePath); }

fs::path GameFolder::resolveWritable(std::string_view gamePath) const { return matchCaseInsensitive(writeRoot_, gamePath); }

fs::path GameFolder::writable(std::string_view gamePath) const {
    const fs::path target = matchCaseInsensitive(writeRoot_, gamePath);
    std::error_code ec;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    return target;
}

bool isWritableFolder(const fs::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

bool isInstalledFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / "installed", ec);
}

bool keepsPlayerFiles(const fs::path& folder) { return isWritableFolder(folder) && !isInstalledFolder(folder); }

}  // namespace data
