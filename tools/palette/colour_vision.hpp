#pragma once
#include <array>
#include <cstdint>

// How a colour looks to eyes that see colours differently, and how far apart two colours look.
// Colours are 8-bit sRGB; the simulations work in linear light, as they were measured.
namespace palette {

struct Srgb {
    double r = 0, g = 0, b = 0;  // 0..255, fractions allowed
};

struct Lab {
    double l = 0, a = 0, b = 0;
};

// The usual simulations of colour-vision deficiency at full severity (Machado, Oliveira and
// Fernandes 2009), and none.
enum class Vision { Normal, Deuteranopia, Protanopia, Tritanopia };
inline constexpr std::array<Vision, 4> kVisions = {Vision::Normal, Vision::Deuteranopia, Vision::Protanopia, Vision::Tritanopia};
const char* visionName(Vision vision);

// The colour as the given eyes see it, clamped to the sRGB range.
Srgb simulate(Vision vision, Srgb colour);

// CIE L*a*b* under D65.
Lab toLab(Srgb colour);
// The CIE76 colour difference: the distance in L*a*b*. Under about 10, two colours are hard to tell
// apart on a small ball.
double deltaE76(Lab a, Lab b);

// The grey level (0..255, sRGB-encoded) of the colour's luminance: what is left when only
// lightness tells things apart.
double greyLevel(Srgb colour);

// Channel conversions between 8-bit sRGB and linear light 0..1.
double toLinear(double channel);
double toEncoded(double linear);

}  // namespace palette
