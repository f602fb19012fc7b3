#include "data/windowed_setting.hpp"

#include <cstdio>

namespace data {

bool readWindowedSetting(const std::filesystem::path& profileFile) {
    std::FILE* f = std::fopen(profileFile.c_str(), "rb");
    if (!f) return false;
    unsigned char bytes[4] = {};
    const size_t got = std::fread(bytes, 1, sizeof bytes, f);
    std::fclose(f);
    return got == sizeof bytes && bytes[0] != 0;
}

}  // namespace data
