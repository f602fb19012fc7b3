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

}  // namespace sfx
