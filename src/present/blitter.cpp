#include "present/blitter.hpp"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace present {

namespace {

// One colour channel of a blend, exactly as the game defines it: both products and their sum in
// double precision from the float factors, truncated toward zero, then clamped. A NaN gives 0.
inline uint32_t blendChannel(uint32_t s, uint32_t d, double fs, double fd) {
    const double r = static_cast<double>(s) * fs + static_cast<double>(d) * fd;
    if (!(r > 0.0)) return 0;
    return r < 255.0 ? static_cast<uint32_t>(r) : 255u;
}

inline bool isBlack(uint32_t pixel) { return (pixel & kColourMask) == 0; }

#if defined(__SSE2__)
// Four channel values (one per 32-bit lane) blended exactly like blendChannel: the same double
// products and sum, clamped before the truncating conversion (a NaN lane becomes 0 at the max).
inline __m128i blendLanes(__m128i s, __m128i d, __m128d fs, __m128d fd) {
    const __m128d zero = _mm_setzero_pd(), top = _mm_set1_pd(255.0);
    __m128d lo = _mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(s), fs), _mm_mul_pd(_mm_cvtepi32_pd(d), fd));
    __m128d hi = _mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(_mm_shuffle_epi32(s, 0xEE)), fs),
                            _mm_mul_pd(_mm_cvtepi32_pd(_mm_shuffle_epi32(d, 0xEE)), fd));
    lo = _mm_min_pd(_mm_max_pd(lo, zero), top);
    hi = _mm_min_pd(_mm_max_pd(hi, zero), top);
    return _mm_unpacklo_epi64(_mm_cvttpd_epi32(lo), _mm_cvttpd_epi32(hi));
}
#endif

void blendRowGeneral(const uint32_t* src, uint32_t* dst, int n, double fs, double fd) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourMask));
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i zero = _mm_setzero_si128();
    const __m128d vfs = _mm_set1_pd(fs), vfd = _mm_set1_pd(fd);
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), mask);
        const __m128i black = _mm_cmpeq_epi32(s, zero);
        if (_mm_movemask_epi8(black) == 0xFFFF) continue;
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i b = blendLanes(_mm_and_si128(s, byte), _mm_and_si128(d, byte), vfs, vfd);
        const __m128i g =
            blendLanes(_mm_and_si128(_mm_srli_epi32(s, 8), byte), _mm_and_si128(_mm_srli_epi32(d, 8), byte), vfs, vfd);
        const __m128i r = blendLanes(_mm_srli_epi32(s, 16), _mm_and_si128(_mm_srli_epi32(d, 16), byte), vfs, vfd);
        const __m128i out = _mm_or_si128(b, _mm_or_si128(_mm_slli_epi32(g, 8), _mm_slli_epi32(r, 16)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                         _mm_or_si128(_mm_and_si128(black, d), _mm_andnot_si128(black, out)));
    }
#endif
    for (; i < n; ++i) {
        const uint32_t s = src[i];
        if (isBlack(s)) continue;
        const uint32_t d = dst[i];
        dst[i] = blendChannel(s & 0xFF, d & 0xFF, fs, fd) | blendChannel(s >> 8 & 0xFF, d >> 8 & 0xFF, fs, fd) << 8 |
                 blendChannel(s >> 16 & 0xFF, d >> 16 & 0xFF, fs, fd) << 16;
    }
}

// Factors (1, 1): a saturating add of the colour bytes.
void blendRowAdd(const uint32_t* src, uint32_t* dst, int n) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourMask));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), mask);
        const __m128i black = _mm_cmpeq_epi32(s, zero);
        // Transparent runs cost no read of the destination.
        if (_mm_movemask_epi8(black) == 0xFFFF) continue;
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i sum = _mm_and_si128(_mm_adds_epu8(s, d), mask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                         _mm_or_si128(_mm_and_si128(black, d), _mm_andnot_si128(black, sum)));
    }
#endif
    for (; i < n; ++i) {
        const uint32_t s = src[i];
        if (isBlack(s)) continue;
        const uint32_t d = dst[i];
        const uint32_t b = std::min<uint32_t>((s & 0xFF) + (d & 0xFF), 255);
        const uint32_t g = std::min<uint32_t>((s >> 8 & 0xFF) + (d >> 8 & 0xFF), 255);
        const uint32_t r = std::min<uint32_t>((s >> 16 & 0xFF) + (d >> 16 & 0xFF), 255);
        dst[i] = b | g << 8 | r << 16;
    }
}

// Factors (1, 0): the source's colour bytes, black left out.
void blendRowOpaque(const uint32_t* src, uint32_t* dst, int n) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourMask));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), mask);
        const __m128i black = _mm_cmpeq_epi32(s, zero);
        const int bits = _mm_movemask_epi8(black);
        if (bits == 0xFFFF) continue;
        __m128i out = s;
        if (bits != 0) {
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
            out = _mm_or_si128(_mm_and_si128(black, d), s);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
    }
#endif
    for (; i < n; ++i)
        if (!isBlack(src[i])) dst[i] = src[i] & kColourMask;
}

void copyRowKeyed(const uint32_t* src, uint32_t* dst, int n, uint32_t key) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourMask));
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    for (; i + 4 <= n; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i skip = _mm_cmpeq_epi32(_mm_and_si128(s, mask), keys);
        const int bits = _mm_movemask_epi8(skip);
        if (bits == 0xFFFF) continue;
        __m128i out = s;
        if (bits != 0) {
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
            out = _mm_or_si128(_mm_and_si128(skip, d), _mm_andnot_si128(skip, s));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
    }
#endif
    for (; i < n; ++i)
        if ((src[i] & kColourMask) != key) dst[i] = src[i];
}

bool clipAxis(int64_t& s, int64_t& d, int64_t& length, int64_t sourceLimit, int64_t targetLimit) {
    if (s < 0) {
        d -= s;
        length += s;
        s = 0;
    }
    if (d < 0) {
        s -= d;
        length += d;
        d = 0;
    }
    length = std::min({length, sourceLimit - s, targetLimit - d});
    return length > 0;
}

bool overlaps(const BlitRect& r) {
    return r.srcX < r.dstX + r.width && r.dstX < r.srcX + r.width && r.srcY < r.dstY + r.height && r.dstY < r.srcY + r.height;
}

}  // namespace

bool clipRect(BlitRect& rect, int srcWidth, int srcHeight, int dstWidth, int dstHeight) {
    int64_t sx = rect.srcX, sy = rect.srcY, dx = rect.dstX, dy = rect.dstY, w = rect.width, h = rect.height;
    if (!clipAxis(sx, dx, w, srcWidth, dstWidth) || !clipAxis(sy, dy, h, srcHeight, dstHeight)) return false;
    rect = {static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(dx),
            static_cast<int>(dy), static_cast<int>(w),  static_cast<int>(h)};
    return true;
}

void blendBlit(int srcX, int srcY, int dstX, int dstY, int width, int height, const PixelImage& source, Surface& target, float fs,
               float fd) {
    if (source.empty() || target.empty()) return;
    BlitRect r{srcX, srcY, dstX, dstY, width, height};
    if (!clipRect(r, source.width, source.height, target.width, target.height)) return;

    // (1, 0) and (1, 1) need no arithmetic beyond bytes; every other pair takes the double path.
    enum class Kind { Opaque, Add, General };
    Kind kind = Kind::General;
    if (fs == 1.0f && fd == 0.0f)
        kind = Kind::Opaque;
    else if (fs == 1.0f && fd == 1.0f)
        kind = Kind::Add;

    const uint32_t* src = source.pixels.data() + static_cast<size_t>(r.srcY) * static_cast<size_t>(source.width) + r.srcX;
    for (int y = 0; y < r.height; ++y, src += source.width) {
        uint32_t* dst = target.row(r.dstY + y) + r.dstX;
        switch (kind) {
            case Kind::Opaque: blendRowOpaque(src, dst, r.width); break;
            case Kind::Add: blendRowAdd(src, dst, r.width); break;
            case Kind::General: blendRowGeneral(src, dst, r.width, fs, fd); break;
        }
    }
}

bool copyRect(const Surface& source, int srcX, int srcY, int dstX, int dstY, int width, int height, Surface& destination,
              ColourKey key) {
    if (source.empty() || destination.empty()) return false;
    BlitRect r{srcX, srcY, dstX, dstY, width, height};
    if (!clipRect(r, source.width, source.height, destination.width, destination.height)) return false;

    // A copy within one surface whose rectangles overlap reads the source before any of it is written.
    if (&source == &destination && overlaps(r)) {
        Surface piece = Surface::create(r.width, r.height, source.colorKey);
        copyRect(source, r.srcX, r.srcY, 0, 0, r.width, r.height, piece, ColourKey::Ignore);
        return copyRect(piece, 0, 0, r.dstX, r.dstY, r.width, r.height, destination, key);
    }

    const bool keyed = key == ColourKey::Use && source.hasColourKey();
    if (!keyed && r.width == source.pitch && r.width == destination.pitch) {
        // Whole rows on both sides: the rectangle is one block of memory.
        std::memcpy(destination.row(r.dstY), source.row(r.srcY),
                    static_cast<size_t>(r.width) * static_cast<size_t>(r.height) * 4);
        return true;
    }
    for (int y = 0; y < r.height; ++y) {
        const uint32_t* src = source.row(r.srcY + y) + r.srcX;
        uint32_t* dst = destination.row(r.dstY + y) + r.dstX;
        if (keyed)
            copyRowKeyed(src, dst, r.width, source.keyColour());
        else
            std::memcpy(dst, src, static_cast<size_t>(r.width) * 4);
    }
    return true;
}

void drawGlassPanel(int x, int y, int rows, int columns, float a, Surface& target, const PixelImage& glass) {
    if (glass.empty() || target.empty()) return;
    // No screen holds more than a handful of tiles; the bound keeps the arithmetic small.
    rows = std::clamp(rows, 0, 64);
    columns = std::clamp(columns, 0, 64);
    const float fs = a, fd = 1.0f - a;
    constexpr int kFarEdge = kGlassCorner + kGlassTile;  // 182: where the right column and bottom row start

    // One horizontal band: left piece, `columns` middle pieces, right piece, all cut from source
    // rows sourceY to sourceY + bandHeight - 1.
    const auto band = [&](int sourceY, int bandHeight, int bandY) {
        blendBlit(0, sourceY, x, bandY, kGlassCorner, bandHeight, glass, target, fs, fd);
        for (int k = 0; k < columns; ++k)
            blendBlit(kGlassCorner, sourceY, x + kGlassCorner + kGlassTile * k, bandY, kGlassTile, bandHeight, glass, target, fs,
                      fd);
        blendBlit(kFarEdge, sourceY, x + kGlassCorner + kGlassTile * columns, bandY, kGlassCorner, bandHeight, glass, target, fs,
                  fd);
    };
    band(0, kGlassCorner, y);
    for (int j = 0; j < rows; ++j) band(kGlassCorner, kGlassTile, y + kGlassCorner + kGlassTile * j);
    band(kFarEdge, kGlassCorner, y + kGlassCorner + kGlassTile * rows);
}

void drawOutline(int x, int y, int width, int height, int thickness, uint32_t colour, Surface& target) {
    const auto fill = [&target, colour](int left, int top, int right, int bottom) {
        left = std::max(left, 0), top = std::max(top, 0);
        right = std::min(right, target.width), bottom = std::min(bottom, target.height);
        for (int row = top; row < bottom; ++row)
            for (int column = left; column < right; ++column) target.row(row)[column] = colour;
    };
    const int t = std::min({thickness, width / 2, height / 2});
    if (t <= 0) return;
    fill(x, y, x + width, y + t);
    fill(x, y + height - t, x + width, y + height);
    fill(x, y + t, x + t, y + height - t);
    fill(x + width - t, y + t, x + width, y + height - t);
}

}  // namespace present
