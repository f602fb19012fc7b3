#include "noise.hpp"

#include <cmath>
#include <numbers>

namespace sfx {

namespace {

double expDecay(double t, double tau) { return std::exp(-t / tau); }

// Rises from 0 over `attack` seconds, so no noise starts with a click.
double attackRamp(double t, double attack) { return t >= attack ? 1.0 : t / attack; }

// A short filtered noise burst added into `out` at `start` seconds.
void addBurst(Audio& out, Noise& noise, double start, double length, double centreHz, double q, double gain, double tau) {
    SvFilter filter;
    const size_t first = framesFor(start);
    const size_t n = framesFor(length);
    for (size_t i = 0; i < n && first + i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const float band = filter.step(noise.white(), centreHz, q).band;
        out.samples[first + i] += static_cast<float>(gain * band * expDecay(t, tau) * attackRamp(t, 0.0008));
    }
}

}  // namespace

Audio explosionNoise() {
    Audio out = Audio::silence(1, 1.6);
    Noise noise(0x5eed01);
    SvFilter body, debris;
    double phase = 0;
    for (size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        // The boom: a sine sliding from 95 Hz down towards 36 Hz.
        const double freq = 36.0 + 59.0 * expDecay(t, 0.18);
        phase += 2.0 * std::numbers::pi * freq / kRate;
        const double boom = std::sin(phase) * expDecay(t, 0.42) * attackRamp(t, 0.004);
        // The roar: noise whose brightness falls away quickly.
        const double cutoff = 180.0 + 4200.0 * expDecay(t, 0.09);
        const double roar = body.step(noise.white(), cutoff, 0.8).low * expDecay(t, 0.3) * attackRamp(t, 0.002);
        // Debris: a rumble of low noise that lingers.
        const double rumble = debris.step(noise.white(), 320.0, 0.7).low * expDecay(t, 0.6);
        const double mixed = 0.9 * boom + 1.3 * roar + 0.7 * rumble;
        out.samples[i] = static_cast<float>(std::tanh(1.6 * mixed));
    }
    // Crackle of pieces landing, thinning out.
    for (int k = 0; k < 40; ++k) {
        const double start = 0.08 + 1.1 * std::pow(noise.uniform(), 1.6);
        addBurst(out, noise, start, 0.03, 1200 + 2800 * noise.uniform(), 3.0, 0.25 * expDecay(start, 0.5), 0.006);
    }
    return out;
}

Audio whoosh(Sweep sweep, double seconds) {
    Audio out = Audio::silence(1, seconds);
    Noise noise(sweep == Sweep::Rising ? 0x77a001 : 0x77a002);
    SvFilter filter;
    const size_t n = out.frames();
    for (size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(n);
        const double position = sweep == Sweep::Rising ? x : 1.0 - x;
        const double centre = 350.0 * std::pow(9.0, position);  // 350 Hz .. 3150 Hz
        const double envelope = std::pow(std::sin(std::numbers::pi * x), 2.0);
        out.samples[i] = static_cast<float>(filter.step(noise.white(), centre, 2.2).band * envelope * 1.6);
    }
    return out;
}

Audio riffle() {
    Audio out = Audio::silence(1, 0.85);
    Noise noise(0xcad5);
    // Cards flick past, quickly at first and slowing as the two halves run out.
    double t = 0.0;
    for (int k = 0; k < 26; ++k) {
        const double gap = 0.016 + 0.012 * (k / 26.0) * (k / 26.0) + 0.004 * noise.uniform();
        addBurst(out, noise, t, 0.02, 2600 + 2400 * noise.uniform(), 1.8, 0.9 * (0.7 + 0.3 * noise.uniform()), 0.004);
        addBurst(out, noise, t + 0.002, 0.02, 700 + 400 * noise.uniform(), 1.2, 0.35, 0.006);
        t += gap;
    }
    // The deck squared on the table: a duller, fuller tap.
    addBurst(out, noise, t + 0.09, 0.12, 420, 0.9, 1.6, 0.02);
    addBurst(out, noise, t + 0.09, 0.05, 1800, 1.2, 0.5, 0.008);
    return out;
}

Audio iceCrackle() {
    Audio out = Audio::silence(1, 1.2);
    Noise noise(0x1ce);
    SvFilter hissFilter;
    for (size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double hiss = hissFilter.step(noise.white(), 7000.0, 0.7).high;
        out.samples[i] = static_cast<float>(0.12 * hiss * expDecay(t, 0.35) * attackRamp(t, 0.02));
    }
    // Sharp ticks, dense at first: each rings briefly at a high, glassy pitch.
    for (int k = 0; k < 90; ++k) {
        const double start = 0.9 * std::pow(noise.uniform(), 2.2);
        addBurst(out, noise, start, 0.025, 3500 + 6000 * noise.uniform(), 9.0, 1.1 * expDecay(start, 0.4), 0.004);
    }
    return out;
}

Audio puff() {
    Audio out = Audio::silence(1, 0.22);
    Noise noise(0x9aff);
    SvFilter filter;
    for (size_t i = 0; i < out.frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double centre = 600.0 + 2600.0 * (1.0 - expDecay(t, 0.05));
        out.samples[i] =
            static_cast<float>(filter.step(noise.white(), centre, 1.4).band * expDecay(t, 0.045) * attackRamp(t, 0.006) * 1.5);
    }
    return out;
}

Audio click() {
    Audio out = Audio::silence(1, 0.06);
    Noise noise(0xc11c);
    addBurst(out, noise, 0, 0.05, 3200, 2.5, 1.0, 0.003);
    addBurst(out, noise, 0, 0.05, 900, 4.0, 0.6, 0.006);
    return out;
}

}  // namespace sfx
