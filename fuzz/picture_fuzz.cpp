// Picture files under "gfx": the header check that refuses unknown kinds and absurd sizes before
// anything is allocated, then the decoder.
#include <span>

#include "fuzz_check.hpp"
#include "present/images.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<present::PixelImage> image = present::decodePictureBytes(std::span<const uint8_t>(data, size));
    if (!image) return 0;
    // A picture that loads has a size, and exactly its pixels, however its file lied about it.
    FUZZ_CHECK(image->width > 0 && image->height > 0 && image->width <= 16384 && image->height <= 16384);
    FUZZ_CHECK(image->pixels.size() == static_cast<size_t>(image->width) * static_cast<size_t>(image->height));
    return 0;
}
