#include "data/config_scanner.hpp"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cfloat>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace data {

namespace {

// Reals are stored in 32-bit floats by some readers: anything larger stops at the largest one, so
// no conversion ever overflows.
constexpr double kRealMax = FLT_MAX;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f'); }

bool matchesAt(std::string_view text, size_t pos, std::string_view word) {
    return pos <= text.size() && text.size() - pos >= word.size() &&
           std::memcmp(text.data() + pos, word.data(), word.size()) == 0;
}

// Everything that is not a digit is passed over: letters, line breaks, other key words and a minus
// sign. False when the text ends first.
bool skipToNumber(std::string_view text, size_t& pos) {
    while (pos < text.size() && !isDigit(text[pos])) ++pos;
    return pos < text.size();
}

int32_t addDigit(int32_t value, int digit, int base) {
    const int64_t next = static_cast<int64_t>(value) * base + digit;
    return next > kConfigNumberMax ? kConfigNumberMax : static_cast<int32_t>(next);
}

// Leaves `pos` on the first character after the digits.
bool readInteger(std::string_view text, size_t& pos, int32_t& out) {
    if (!skipToNumber(text, pos)) return false;
    int32_t value = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) value = addDigit(value, text[pos] - '0', 10);
    out = value;
    return true;
}

// The decimal exponent of the leading digit of a number from_chars found out of range: positive
// means too large, negative too small.
int64_t magnitudeOf(std::string_view number) {
    size_t i = 0;
    int64_t magnitude = 0;
    bool found = false;  // the first non-zero digit has been seen
    for (; i < number.size() && isDigit(number[i]); ++i) {
        if (found) ++magnitude;
        found = found || number[i] != '0';
    }
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && isDigit(number[i]); ++i) {
            if (!found) --magnitude;
            found = found || number[i] != '0';
        }
    }
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
        int64_t exponent = 0;
        for (; i < number.size() && isDigit(number[i]); ++i)
            exponent = exponent > 100000 ? exponent : exponent * 10 + (number[i] - '0');
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

// Reads from the first digit with the ordinary decimal syntax (point, fraction, exponent), so
// "0.75" is three quarters but ".5" is 5. Only the integer digits are passed: the point and the
// fraction stay in the text as ordinary characters.
bool readReal(std::string_view text, size_t& pos, double& out) {
    if (!skipToNumber(text, pos)) return false;
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        value = magnitudeOf(std::string_view(first, static_cast<size_t>(ptr - first))) > 0 ? kRealMax : 0.0;
    out = value > kRealMax ? kRealMax : value;
    while (pos < text.size() && isDigit(text[pos])) ++pos;
    return true;
}

bool readIndexedPair(std::string_view text, size_t& pos, ConfigValue& value) {
    if (!readInteger(text, pos, value.index)) return false;
    while (pos < text.size() && text[pos] != '=') ++pos;
    if (pos == text.size()) return false;
    ++pos;
    return readInteger(text, pos, value.integer);
}

// The colour is found by its "0x" prefix: the scan stops on a "0" or just before an "x", skips two
// characters and reads lower-case hexadecimal digits. An upper-case digit ends the number.
bool readColour(std::string_view text, size_t& pos, ConfigValue& value) {
    if (!readInteger(text, pos, value.index)) return false;
    while (pos < text.size() && text[pos] != '0' && !(pos + 1 < text.size() && text[pos + 1] == 'x')) ++pos;
    if (pos == text.size()) return false;
    pos = std::min(pos + 2, text.size());
    int32_t colour = 0;
    for (; pos < text.size() && isHexDigit(text[pos]); ++pos) {
        const char c = text[pos];
        colour = addDigit(colour, isDigit(c) ? c - '0' : c - 'a' + 10, 16);
    }
    value.integer = colour;
    return true;
}

// False when the text ends before the value is complete; the scan then stops.
bool takeValue(std::string_view text, size_t& pos, const ConfigKey& key, ConfigValue& value) {
    switch (key.kind) {
        case ValueKind::Marker: return true;
        case ValueKind::Integer: return readInteger(text, pos, value.integer);
        case ValueKind::Real: return readReal(text, pos, value.real);
        case ValueKind::IndexedPair: return readIndexedPair(text, pos, value);
        case ValueKind::IndexedReal: return readInteger(text, pos, value.index) && readReal(text, pos, value.real);
        case ValueKind::List:
            for (int i = 0; i < key.count && i < kMaxListLength; ++i)
                if (!readInteger(text, pos, value.list[static_cast<size_t>(i)])) return false;
            return true;
        case ValueKind::Colour: return readColour(text, pos, value);
    }
    return false;
}

}  // namespace

std::vector<char> readConfigFile(const std::filesystem::path& file) {
    std::vector<char> image(kConfigImageSize, '\0');
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        // A short read leaves zeros, which is what the scan expects after the text.
        [[maybe_unused]] const size_t got = std::fread(image.data(), 1, image.size(), f);
        std::fclose(f);
    }
    return image;
}

void scanConfigText(std::string_view text, std::span<const ConfigKey> keys, ConfigTarget& target) {
    // For each first character, the keys that begin with it, as bits in table order; most positions
    // begin no key word and are passed at once.
    assert(keys.size() <= 64);
    std::array<uint64_t, 256> startsWith{};
    for (size_t k = 0; k < keys.size(); ++k) {
        assert(!keys[k].word.empty() && keys[k].count <= kMaxListLength);
        startsWith[static_cast<unsigned char>(keys[k].word[0])] |= uint64_t{1} << k;
    }
    const auto candidatesAt = [&](size_t pos) {
        return pos < text.size() ? startsWith[static_cast<unsigned char>(text[pos])] : uint64_t{0};
    };

    for (size_t pos = 0; pos < text.size(); ++pos) {
        // The keys after `next` in the table are still to be tried at the (moving) position.
        for (size_t next = 0; next < keys.size();) {
            const uint64_t candidates = candidatesAt(pos) & (~uint64_t{0} << next);
            if (candidates == 0) break;
            const size_t k = static_cast<size_t>(std::countr_zero(candidates));
            next = k + 1;
            const ConfigKey& key = keys[k];
            if (!matchesAt(text, pos, key.word)) continue;
            pos += key.word.size();
            ConfigValue value;
            if (!takeValue(text, pos, key, value)) return;
            target.apply(key, value);
            // After a real the pass is over: not even the later keys are tried where it ended.
            if (key.kind == ValueKind::Real || key.kind == ValueKind::IndexedReal) break;
        }
    }
}

}  // namespace data
