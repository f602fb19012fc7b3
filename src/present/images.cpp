#include "present/images.hpp"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <fstream>
#include <span>

namespace present {

namespace {

// The largest picture file read at all; the game's own are far below it.
constexpr std::streamoff kMaxFileBytes = 64 << 20;
constexpr int kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t{1} << 24;

enum class Format { Png, Jpeg, Bmp };

struct Size {
    int64_t width = 0;
    int64_t height = 0;
    Format format = Format::Png;
};

uint32_t bigEndian16(const uint8_t* p) { return uint32_t{p[0]} << 8 | p[1]; }
uint32_t bigEndian32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }
uint32_t littleEndian16(const uint8_t* p) { return uint32_t{p[1]} << 8 | p[0]; }
uint32_t littleEndian32(const uint8_t* p) { return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]; }

std::optional<Size> jpegSize(std::span<const uint8_t> b) {
    size_t pos = 2;
    while (pos + 4 <= b.size()) {
        if (b[pos] != 0xFF) return std::nullopt;
        const uint8_t marker = b[pos + 1];
        if (marker == 0xFF) {  // fill byte before a marker
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // markers without a length
            pos += 2;
            continue;
        }
        const size_t length = bigEndian16(&b[pos + 2]);
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            if (pos + 9 > b.size()) return std::nullopt;
            return Size{bigEndian16(&b[pos + 7]), bigEndian16(&b[pos + 5]), Format::Jpeg};
        }
        if (length < 2) return std::nullopt;
        pos += 2 + length;
    }
    return std::nullopt;
}

// True when a PNG file's chunks, from the first to the end of its image data, all lie inside the
// file. The decoder does not notice the end of the file inside a chunk: an ancillary chunk that
// claims more bytes than there are sends it round the same stale bytes for ever, and an image data
// chunk that does makes it read the claimed length (up to 2 GiB) before it gives up. What follows
// the image data is never read, so it is not looked at.
bool pngChunksFit(std::span<const uint8_t> b) {
    bool imageData = false;
    for (size_t pos = 8; pos + 8 <= b.size();) {
        const uint64_t end = pos + uint64_t{12} + bigEndian32(&b[pos]);  // length, type, data, CRC
        const bool idat = std::memcmp(&b[pos + 4], "IDAT", 4) == 0;
        if ((imageData && !idat) || std::memcmp(&b[pos + 4], "IEND", 4) == 0) break;
        if (end > b.size()) return false;
        imageData = imageData || idat;
        pos = static_cast<size_t>(end);
    }
    return imageData;
}

// The picture's size from its file header, before anything is allocated for it. Only PNG, JPEG and
// BMP files are pictures of the game.
std::optional<Size> headerSize(std::span<const uint8_t> b) {
    static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (b.size() >= 24 && std::memcmp(b.data(), kPngSignature, 8) == 0 && std::memcmp(&b[12], "IHDR", 4) == 0) {
        if (!pngChunksFit(b)) return std::nullopt;
        return Size{bigEndian32(&b[16]), bigEndian32(&b[20]), Format::Png};
    }
    if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
        if (littleEndian32(&b[14]) == 12) return Size{littleEndian16(&b[18]), littleEndian16(&b[20]), Format::Bmp};
        const auto height = static_cast<int32_t>(littleEndian32(&b[22]));  // negative: rows top-down
        return Size{static_cast<int32_t>(littleEndian32(&b[18])), height < 0 ? -int64_t{height} : height, Format::Bmp};
    }
    if (b.size() >= 4 && b[0] == 0xFF && b[1] == 0xD8) return jpegSize(b);
    return std::nullopt;
}

bool sensibleSize(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

std::optional<std::vector<uint8_t>> readSmallFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0 || size > kMaxFileBytes) return std::nullopt;
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<PixelImage> decodePicture(const std::filesystem::path& file) {
    const std::optional<std::vector<uint8_t>> bytes = readSmallFile(file);
    if (!bytes) return std::nullopt;
    return decodePictureBytes(*bytes);
}

std::optional<PixelImage> decodePictureBytes(std::span<const uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(kMaxFileBytes)) return std::nullopt;
    const std::optional<Size> declared = headerSize(bytes);
    if (!declared || !sensibleSize(declared->width, declared->height)) return std::nullopt;

    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!rw) return std::nullopt;
    // The decoder of the format the header names, never the library's own guess: a file that begins
    // like a JPEG but fails the library's stricter look would otherwise go on to its other readers
    // (SVG, TGA, XCF and more), which are no formats of the game's.
    SDL_Surface* decoded = nullptr;
    switch (declared->format) {
        case Format::Png: decoded = IMG_LoadPNG_RW(rw); break;
        case Format::Jpeg: decoded = IMG_LoadJPG_RW(rw); break;
        case Format::Bmp: decoded = IMG_LoadBMP_RW(rw); break;
    }
    SDL_RWclose(rw);
    if (!decoded) return std::nullopt;
    // A palette picture's transparent entry comes as a colour key and turns into alpha 0 here.
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(decoded);
    if (!argb) return std::nullopt;

    std::optional<PixelImage> image;
    if (sensibleSize(argb->w, argb->h) && SDL_LockSurface(argb) == 0) {
        image.emplace();
        image->width = argb->w;
        image->height = argb->h;
        image->pixels.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
        const auto* source = static_cast<const uint8_t*>(argb->pixels);
        for (int y = 0; y < argb->h; ++y)
            std::memcpy(&image->pixels[static_cast<size_t>(y) * static_cast<size_t>(argb->w)],
                        source + static_cast<ptrdiff_t>(y) * argb->pitch, static_cast<size_t>(argb->w) * 4);
        SDL_UnlockSurface(argb);
    }
    SDL_FreeSurface(argb);
    return image;
}

Surface createSurface(int width, int height, int64_t colourKey) {
    return Surface::create(width, height, colourKey < 0 ? kNoColourKey : colourKey);
}

std::optional<PixelImage> PictureLoader::decode(std::string_view path) {
    std::optional<PixelImage> image = decodePicture(folder_.resolve(path));
    if (!image) platform_.beep();
    return image;
}

Surface PictureLoader::loadSurfacePicture(std::string_view path, int64_t colourKey) {
    std::optional<PixelImage> image = decode(path);
    if (!image) return {};
    // The decoded rows are the surface's rows (pitch = width): the pixels move over, uncopied.
    Surface surface;
    surface.width = image->width;
    surface.height = image->height;
    surface.pitch = image->width;
    surface.colorKey = colourKey < 0 ? kNoColourKey : colourKey;
    surface.pixels = std::move(image->pixels);
    lastWidth_ = image->width;
    lastHeight_ = image->height;
    return surface;
}

bool PictureLoader::loadPixelImage(std::string_view path, PixelImage& out) {
    std::optional<PixelImage> image = decode(path);
    if (!image) return false;
    lastWidth_ = image->width;
    lastHeight_ = image->height;
    out = std::move(*image);
    return true;
}

bool savePng(const Surface& surface, const std::filesystem::path& file) {
    if (surface.empty()) return false;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(surface.pixels.data()), surface.width,
                                                        surface.height, 32, surface.pitch * 4, SDL_PIXELFORMAT_RGB888);
    if (!s) return false;
    const bool ok = IMG_SavePNG(s, file.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

}  // namespace present
