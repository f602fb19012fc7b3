#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace profile_bytes {

// Bytes of a profile or high-score file written out by hand, field by field at the offsets the
// files use, independently of the code that reads and writes them.
struct Bytes {
    std::vector<uint8_t> data;

    explicit Bytes(size_t size = 0) : data(size, 0) {}

    Bytes& i32(size_t at, int64_t value) {
        const uint32_t v = static_cast<uint32_t>(value);
        for (int k = 0; k < 4; ++k) data.at(at + k) = static_cast<uint8_t>(v >> (8 * k));
        return *this;
    }
    Bytes& u8(size_t at, int value) {
        data.at(at) = static_cast<uint8_t>(value);
        return *this;
    }
    Bytes& text(size_t at, std::string_view s) {
        for (size_t k = 0; k < s.size(); ++k) data.at(at + k) = static_cast<uint8_t>(s[k]);
        return *this;
    }
    std::string str() const { return std::string(data.begin(), data.end()); }
};

constexpr size_t kHeader = 21;
constexpr size_t kRecord = 1876;
constexpr size_t kEntry = 24;

// A profile header: windowed, music volume, music knob, sound volume, sound knob, current player.
inline Bytes header(int32_t windowed, int32_t music, int32_t musicX, int32_t sound, int32_t soundX, int current) {
    Bytes b(kHeader);
    b.i32(0, windowed).i32(4, music).i32(8, musicX).i32(12, sound).i32(16, soundX).u8(20, current);
    return b;
}

// A record of a new player called `name` (options on, everything else 0).
inline Bytes record(std::string_view name, int32_t runId = 0) {
    Bytes b(kRecord);
    b.i32(0, runId).text(4, name).u8(1872, 1).u8(1873, 1).u8(1874, 1);
    return b;
}

inline Bytes entry(int32_t runId, uint32_t score, std::string_view name) {
    Bytes b(kEntry);
    b.i32(0, runId).i32(4, score).text(8, name);
    return b;
}

inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.data.insert(all.data.end(), p.data.begin(), p.data.end());
    return all;
}

}  // namespace profile_bytes
