#pragma once
#include <filesystem>

namespace data {

// The window mode must be known before the window exists: the lowest byte of the profile file's
// first field. A missing or short file means full screen.
bool readWindowedSetting(const std::filesystem::path& profileFile);

}  // namespace data
