#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace data {

// The whole of a file, or nothing: a missing file, a folder, a file that cannot be read and a file
// larger than `limit` bytes all read as missing.
std::optional<std::vector<uint8_t>> readWholeFile(const std::filesystem::path& file, size_t limit);

// A file that is there but cannot be read (its permissions, a failing disk). Saves leave such a
// file alone: the game started without what it holds, and replacing it would lose it for good.
bool unreadableFile(const std::filesystem::path& file);

struct WriteResult {
    bool ok = true;
    std::string error;  // what went wrong, for the diagnostic log; empty when ok
};

// The result of a save that leaves an unreadable file alone.
WriteResult keptUnread(const std::string& gamePath);

// Replaces `file` with `bytes` so that a crash at any moment leaves either the old file or the new
// one, never a mix or a truncation: the bytes go to a temporary file beside the target, reach the
// disk (fsync), and the temporary file is renamed over the target; then the folder itself is
// synced so the rename survives a power cut. The folder must exist. On failure the target is left
// as it was and the temporary file is removed.
WriteResult writeFileAtomically(const std::filesystem::path& file, std::span<const uint8_t> bytes);

}  // namespace data
