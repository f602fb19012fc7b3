// The keyword scanner of the two settings files, over a table of short key words of every kind, so
// random text meets them often. The table holds 64 keys, the most one scan takes, with words that are
// prefixes of each other in both orders and words that begin with a digit, a sign, "=" or "0x".
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "data/config_scanner.hpp"
#include "fuzz_check.hpp"

namespace {

using data::ConfigKey;
using data::ConfigValue;
using enum data::ValueKind;

constexpr ConfigKey kKeys[] = {
    {"ab", Integer, 0},     {"a", Integer, 1},      {"abc", Marker, 2},      {"b", Real, 3},     {"c", IndexedPair, 4},
    {"d", IndexedReal, 5},  {"e", List, 6, 20},     {"f", Colour, 7},        {"g", List, 8, 1},  {"0x", Colour, 9},
    {"-", Real, 10},        {"=", Integer, 11},     {"x", Marker, 12},       {"1", Integer, 13}, {".", IndexedReal, 14},
    {"h", IndexedPair, 15}, {"Color", Colour, 16},  {"Colors", Integer, 17}, {"i", Marker, 18},  {"j", Marker, 19},
    {"k", Marker, 20},      {"l", Marker, 21},      {"m", Marker, 22},       {"n", Marker, 23},  {"o", Marker, 24},
    {"p", Marker, 25},      {"q", Marker, 26},      {"r", Marker, 27},       {"s", Marker, 28},  {"t", Marker, 29},
    {"u", Marker, 30},      {"v", Marker, 31},      {"w", Marker, 32},       {"y", Marker, 33},  {"A", Integer, 34},
    {"B", Integer, 35},     {"C", Integer, 36},     {"D", Integer, 37},      {"E", Integer, 38}, {"F", Integer, 39},
    {"G", Integer, 40},     {"H", Integer, 41},     {"I", Integer, 42},      {"J", Integer, 43}, {"K", Integer, 44},
    {"L", Integer, 45},     {"M", Integer, 46},     {"N", Integer, 47},      {"O", Integer, 48}, {"P", Integer, 49},
    {"Q", Integer, 50},     {"R", Integer, 51},     {"S", Integer, 52},      {"T", Integer, 53}, {"U", Integer, 54},
    {"V", Integer, 55},     {"W", Integer, 56},     {"X", Integer, 57},      {"Y", Integer, 58}, {"Z", Integer, 59},
    {"\xff", Real, 60},     {"a\xff", List, 61, 2}, {"e", Integer, 62},      {"z", Integer, 63},
};
static_assert(std::size(kKeys) == 64);

struct Hit {
    int id;
    ConfigValue value;
};

struct Recorder final : data::ConfigTarget {
    std::vector<Hit> hits;
    void apply(const ConfigKey& key, const ConfigValue& value) override { hits.push_back({key.id, value}); }
};

std::vector<Hit> scan(std::string_view text) {
    Recorder recorder;
    data::scanConfigText(text, kKeys, recorder);
    return recorder.hits;
}

// A second table of 64 markers, every word over "a", "b" and "c" up to three letters and some of four,
// in a mixed order, so that words are prefixes of later and of earlier words. With markers only, the
// scan is nothing but the matching, which a plain loop over the table at every position can check.
struct MarkerTable {
    std::vector<std::string> words;
    std::vector<ConfigKey> keys;

    MarkerTable() {
        // Every word in order of length ("a", "b", "c", "aa", "ba", ...): n + 1 written in bijective base 3.
        for (size_t n = 0; words.size() < 64; ++n) {
            std::string word;
            for (size_t v = n + 1; v > 0; v = (v - 1) / 3) word += static_cast<char>('a' + (v - 1) % 3);
            words.push_back(word);
        }
        // A fixed shuffle.
        uint32_t state = 12345;
        for (size_t i = words.size() - 1; i > 0; --i) {
            state = state * 1103515245 + 12345;
            std::swap(words[i], words[(state >> 8) % (i + 1)]);
        }
        for (size_t i = 0; i < words.size(); ++i) keys.push_back({words[i], Marker, static_cast<int>(i)});
    }
};

// What the scan must do: at each position every key in table order; a match moves the position past
// the key word and the later keys are tried there.
std::vector<int> markersByHand(std::string_view text, const std::vector<ConfigKey>& keys) {
    std::vector<int> hits;
    for (size_t pos = 0; pos < text.size(); ++pos) {
        for (const ConfigKey& key : keys) {
            // The first character alone rules out most keys, and is far cheaper to test under the
            // fuzzer's comparison tracing than a whole memcmp.
            if (pos < text.size() && text[pos] == key.word[0] && text.substr(pos).starts_with(key.word)) {
                hits.push_back(key.id);
                pos += key.word.size();
            }
        }
    }
    return hits;
}

bool sameValue(const ConfigValue& a, const ConfigValue& b) {
    return a.index == b.index && a.integer == b.integer && std::memcmp(&a.real, &b.real, sizeof a.real) == 0 && a.list == b.list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The game never sees more of a file than its text image.
    const std::string_view text = fuzzing::bytesOf(data, std::min(size, data::kConfigImageSize));
    const std::vector<Hit> hits = scan(text);

    for (const Hit& hit : hits) {
        const ConfigValue& v = hit.value;
        // Nothing in these files can be negative: a minus sign is passed over like any other text.
        FUZZ_CHECK(v.index >= 0 && v.integer >= 0);
        for (int32_t item : v.list) FUZZ_CHECK(item >= 0);
        // Reals end up in 32-bit floats, so they must be finite and fit one.
        FUZZ_CHECK(std::isfinite(v.real) && v.real >= 0 && v.real <= FLT_MAX);
    }

    // The game scans the file followed by zeros up to the image size; a zero is neither a digit nor
    // the start of a key word, so the zeros change nothing.
    std::string padded(text);
    padded.append(16, '\0');
    const std::vector<Hit> paddedHits = scan(padded);
    FUZZ_CHECK(paddedHits.size() == hits.size());
    for (size_t i = 0; i < hits.size(); ++i)
        FUZZ_CHECK(paddedHits[i].id == hits[i].id && sameValue(paddedHits[i].value, hits[i].value));

    static const MarkerTable markers;
    Recorder markerHits;
    data::scanConfigText(text, markers.keys, markerHits);
    const std::vector<int> expected = markersByHand(text, markers.keys);
    FUZZ_CHECK(markerHits.hits.size() == expected.size());
    for (size_t i = 0; i < expected.size(); ++i) FUZZ_CHECK(markerHits.hits[i].id == expected[i]);
    return 0;
}
