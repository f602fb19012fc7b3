#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A property that every input must keep. A broken one aborts, so libFuzzer keeps the input as a
// finding and the corpus replay fails on it.
#define FUZZ_CHECK(condition) ((condition) ? void(0) : ::fuzzing::fail(#condition, __FILE__, __LINE__))

namespace fuzzing {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

inline std::string_view bytesOf(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// The same text with every bare line feed written as a carriage return and a line feed.
inline std::string withWindowsLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace fuzzing
