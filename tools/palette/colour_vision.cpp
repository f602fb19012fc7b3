#include "colour_vision.hpp"

#include <algorithm>
#include <cmath>

namespace palette {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes (2009), severity 1.0, on linear RGB.
constexpr Matrix kProtanopia = {
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia = {
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kTritanopia = {
    {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};

// The D65 white point of sRGB.
constexpr double kWhiteX = 0.95047, kWhiteY = 1.0, kWhiteZ = 1.08883;

double labCurve(double t) {
    constexpr double d = 6.0 / 29.0;
    return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
}

}  // namespace

const char* visionName(Vision vision) {
    switch (vision) {
        case Vision::Normal: return "none";
        case Vision::Deuteranopia: return "deuteranopia";
        case Vision::Protanopia: return "protanopia";
        case Vision::Tritanopia: return "tritanopia";
    }
    return "?";
}

double toLinear(double channel) {
    const double c = std::clamp(channel / 255.0, 0.0, 1.0);
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double toEncoded(double linear) {
    const double c = std::clamp(linear, 0.0, 1.0);
    return 255.0 * (c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055);
}

Srgb simulate(Vision vision, Srgb colour) {
    if (vision == Vision::Normal) return colour;
    const Matrix& m = vision == Vision::Protanopia ? kProtanopia : vision == Vision::Deuteranopia ? kDeuteranopia : kTritanopia;
    const double in[3] = {toLinear(colour.r), toLinear(colour.g), toLinear(colour.b)};
    double out[3];
    for (int i = 0; i < 3; ++i) out[i] = m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2];
    return {toEncoded(out[0]), toEncoded(out[1]), toEncoded(out[2])};
}

Lab toLab(Srgb colour) {
    const double r = toLinear(colour.r), g = toLinear(colour.g), b = toLinear(colour.b);
    const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double fx = labCurve(x / kWhiteX), fy = labCurve(y / kWhiteY), fz = labCurve(z / kWhiteZ);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double deltaE76(Lab a, Lab b) { return std::hypot(a.l - b.l, a.a - b.a, a.b - b.b); }

double greyLevel(Srgb colour) {
    return toEncoded(0.2126729 * toLinear(colour.r) + 0.7151522 * toLinear(colour.g) + 0.0721750 * toLinear(colour.b));
}

}  // namespace palette
