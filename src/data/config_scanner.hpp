#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace data {

// The settings files are read into a zero-filled image of exactly this many bytes; the rest of a
// longer file is never seen.
inline constexpr size_t kConfigImageSize = 131072;

// Whole numbers that do not fit stop growing here, so a value is never negative and a later
// multiplication by 1000 can saturate the same way.
inline constexpr int32_t kConfigNumberMax = INT32_MAX;

// What follows a key word.
enum class ValueKind : uint8_t {
    Marker,       // nothing; the key only changes the context
    Integer,      // a run of decimal digits
    Real,         // a decimal number read from its first digit
    IndexedPair,  // an index, an "=", a value
    IndexedReal,  // an index, then a real
    List,         // `count` integers
    Colour,       // an index, then "0x" and lower-case hexadecimal digits
};

inline constexpr int kMaxListLength = 20;

struct ConfigKey {
    std::string_view word;
    ValueKind kind = ValueKind::Marker;
    int id = 0;     // what the target makes of it
    int count = 0;  // List only
};

// What a key found. Integer, IndexedPair and Colour put their value into `integer`; List fills the
// first `count` entries of `list`.
struct ConfigValue {
    int32_t index = 0;
    int32_t integer = 0;
    double real = 0.0;
    std::array<int32_t, kMaxListLength> list{};
};

// Receives every key the scan takes, in text order. The target holds the context (the current level
// block, the current effect strip), so the scan itself keeps no state between keys.
class ConfigTarget {
  public:
    virtual void apply(const ConfigKey& key, const ConfigValue& value) = 0;

  protected:
    ~ConfigTarget() = default;
};

// The file's first kConfigImageSize bytes followed by zeros up to that size; all zero when the file
// cannot be opened.
std::vector<char> readConfigFile(const std::filesystem::path& file);

// One pass over the text: at each position every key is tried in table order, a key that matches
// takes its value and the later keys are tried where the value ended. The text behaves as if it
// were followed by zeros (a zero byte is neither a digit nor the start of a key word).
void scanConfigText(std::string_view text, std::span<const ConfigKey> keys, ConfigTarget& target);

}  // namespace data
