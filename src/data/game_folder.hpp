#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace data {

// The one path mapper. The game names its files as Windows did ("gfx//Ball.png",
// "ini\levels.txt", "gfx//Menu//..." beside "gfx//menu//..."); this turns such a name into a real
// path under the game folder.
class GameFolder {
  public:
    GameFolder() = default;
    // `writeRoot` receives the profile, high scores and log; empty means the game folder itself.
    explicit GameFolder(std::filesystem::path root, std::filesystem::path writeRoot = {});

    const std::filesystem::path& root() const { return root_; }
    const std::filesystem::path& writeRoot() const { return writeRoot_; }

    // A file to read. When the name does not exist as written, each component is matched without
    // regard to case; a name that matches nothing comes back as written (opening it then fails).
    std::filesystem::path resolve(std::string_view gamePath) const;

    // A file the game writes, to be read back: the profile, the high scores.
    std::filesystem::path resolveWritable(std::string_view gamePath) const;

    // A file to write, under the write root; its folder is created when missing.
    std::filesystem::path writable(std::string_view gamePath) const;

  private:
    std::filesystem::path root_;
    std::filesystem::path writeRoot_;
};

// Backslashes become slashes and runs of slashes collapse into one: "gfx//logo\\x" -> "gfx/logo/x".
std::string normaliseGamePath(std::string_view gamePath);

// Finds `relative` under `base`, matching each component case-insensitively when it does not exist
// as written.
std::filesystem::path matchCaseInsensitive(const std::filesystem::path& base, std::string_view relative);

// True when files can be created in `folder`.
bool isWritableFolder(const std::filesystem::path& folder);

// True when `folder` is an installed copy shared by the users of the machine: the install puts the
// file "installed" beside the executable. Such a copy never receives a player's files, even when
// the user may write to it (an administrator can), so they go under the user's data folder.
bool isInstalledFolder(const std::filesystem::path& folder);

// True when the game folder itself receives the profile, the high scores and the log.
bool keepsPlayerFiles(const std::filesystem::path& folder);

}  // namespace data
