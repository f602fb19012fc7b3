#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "audio.hpp"

namespace sfx {

// Encodes `audio` as Ogg Vorbis (variable bit rate at `quality`, -0.1..1) into `file`. The stream
// serial number is given, not drawn, so the same sound encodes to the same bytes on every run.
// False when the encoder or the file fails.
bool writeOggVorbis(const Audio& audio, const std::filesystem::path& file, float quality, uint32_t serial,
                    const std::string& title);

// The largest sample magnitude of `file` once decoded; 0 when it does not decode. Lossy coding can
// overshoot the peaks it was given, most of all on sharp, bright transients.
float decodedPeak(const std::filesystem::path& file);

}  // namespace sfx
