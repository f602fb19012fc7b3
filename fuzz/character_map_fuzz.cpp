// "system\ascii": one byte per line, each line read with the C library's decimal conversion.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/texts.hpp"
#include "fuzz_check.hpp"

namespace {

// strtol on one line, held to 32 bits as the game's conversion is (a longer number stops at the
// nearest 32-bit value), low eight bits kept.
uint8_t byteOfLine(std::string_view line) {
    const std::string terminated(line);
    const long value = std::strtol(terminated.c_str(), nullptr, 10);
    return static_cast<uint8_t>(static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzzing::bytesOf(data, size);
    const std::vector<uint8_t> map = data::parseCharacterMap(bytes);

    if (bytes.find('\r') != std::string_view::npos) return 0;
    // Windows line ends give the same map.
    FUZZ_CHECK(data::parseCharacterMap(fuzzing::withWindowsLineEnds(bytes)) == map);

    // Without carriage returns and long lines, the lines are simply the pieces between line feeds
    // (a line feed at the very end adds no line), and each gives what strtol makes of it.
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < bytes.size();) {
        const size_t end = std::min(bytes.find('\n', start), bytes.size());
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    if (std::any_of(lines.begin(), lines.end(), [](std::string_view line) { return line.size() > 79; })) return 0;
    FUZZ_CHECK(map.size() == lines.size());
    for (size_t i = 0; i < lines.size(); ++i) FUZZ_CHECK(map[i] == byteOfLine(lines[i]));
    return 0;
}
