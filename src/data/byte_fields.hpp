#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace data {

// Little-endian fields of the binary files, read and written one by one at their offsets. The
// caller has checked that the span is long enough.

inline int32_t readInt32(std::span<const uint8_t> bytes, size_t offset) {
    const uint32_t value = static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
                           static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
    return static_cast<int32_t>(value);
}

inline uint32_t readUint32(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint32_t>(readInt32(bytes, offset));
}

inline void writeInt32(std::span<uint8_t> bytes, size_t offset, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    bytes[offset] = static_cast<uint8_t>(v);
    bytes[offset + 1] = static_cast<uint8_t>(v >> 8);
    bytes[offset + 2] = static_cast<uint8_t>(v >> 16);
    bytes[offset + 3] = static_cast<uint8_t>(v >> 24);
}

inline void writeUint32(std::span<uint8_t> bytes, size_t offset, uint32_t value) {
    writeInt32(bytes, offset, static_cast<int32_t>(value));
}

template <size_t N>
void readBytes(std::span<const uint8_t> bytes, size_t offset, std::array<uint8_t, N>& out) {
    std::memcpy(out.data(), bytes.data() + offset, N);
}

template <size_t N>
void writeBytes(std::span<uint8_t> bytes, size_t offset, const std::array<uint8_t, N>& in) {
    std::memcpy(bytes.data() + offset, in.data(), N);
}

}  // namespace data
