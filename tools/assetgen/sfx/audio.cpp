#include "audio.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sfx {

Audio Audio::silence(int channels, double seconds) {
    Audio a;
    a.channels = channels;
    a.samples.assign(framesFor(seconds) * static_cast<size_t>(channels), 0.0f);
    return a;
}

size_t framesFor(double seconds) { return static_cast<size_t>(std::llround(std::max(0.0, seconds) * kRate)); }

float Noise::white() { return static_cast<float>(uniform() * 2.0 - 1.0); }

double Noise::uniform() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 4294967296.0;
}

SvFilter::Out SvFilter::step(float in, double cutoffHz, double q) {
    // Chamberlin's form, run twice per sample so high cutoffs stay stable.
    const double f = 2.0 * std::sin(std::numbers::pi * std::min(cutoffHz, kRate / 6.0) / (2.0 * kRate));
    const double damp = 1.0 / std::max(q, 0.5);
    double high = 0;
    for (int pass = 0; pass < 2; ++pass) {
        low_ += f * band_;
        high = in - low_ - damp * band_;
        band_ += f * high;
    }
    return {static_cast<float>(low_), static_cast<float>(band_), static_cast<float>(high)};
}

void mixInto(Audio& dst, const Audio& src, size_t offset, float gain) {
    const size_t needed = (offset + src.frames()) * static_cast<size_t>(dst.channels);
    if (dst.samples.size() < needed) dst.samples.resize(needed, 0.0f);
    for (size_t f = 0; f < src.frames(); ++f) {
        for (int c = 0; c < dst.channels; ++c) {
            const int from = std::min(c, src.channels - 1);
            dst.samples[(offset + f) * dst.channels + c] += gain * src.samples[f * src.channels + from];
        }
    }
}

Audio toMono(const Audio& stereo) {
    if (stereo.channels == 1) return stereo;
    Audio mono;
    mono.samples.resize(stereo.frames());
    for (size_t f = 0; f < stereo.frames(); ++f) mono.samples[f] = 0.5f * (stereo.samples[2 * f] + stereo.samples[2 * f + 1]);
    return mono;
}

float peak(const Audio& audio) {
    float p = 0;
    for (float s : audio.samples) p = std::max(p, std::fabs(s));
    return p;
}

float activeRms(const Audio& audio) {
    const float floor = peak(audio) * 0.00316f;
    double sum = 0;
    size_t count = 0;
    const size_t window = 1024 * static_cast<size_t>(audio.channels);
    for (size_t start = 0; start < audio.samples.size(); start += window) {
        const size_t end = std::min(audio.samples.size(), start + window);
        double block = 0;
        float blockPeak = 0;
        for (size_t i = start; i < end; ++i) {
            block += static_cast<double>(audio.samples[i]) * audio.samples[i];
            blockPeak = std::max(blockPeak, std::fabs(audio.samples[i]));
        }
        if (blockPeak < floor) continue;
        sum += block;
        count += end - start;
    }
    return count ? static_cast<float>(std::sqrt(sum / static_cast<double>(count))) : 0.0f;
}

void scale(Audio& audio, float gain) {
    for (float& s : audio.samples) s *= gain;
}

void normalisePeak(Audio& audio, float target) {
    const float p = peak(audio);
    if (p > 0) scale(audio, target / p);
}

void fadeIn(Audio& audio, double seconds) {
    const size_t n = std::min(framesFor(seconds), audio.frames());
    for (size_t f = 0; f < n; ++f)
        for (int c = 0; c < audio.channels; ++c) audio.at(f, c) *= static_cast<float>(f) / static_cast<float>(n);
}

void fadeOut(Audio& audio, double seconds) {
    const size_t frames = audio.frames();
    const size_t n = std::min(framesFor(seconds), frames);
    for (size_t i = 0; i < n; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(n);
        for (int c = 0; c < audio.channels; ++c) audio.at(frames - 1 - i, c) *= g;
    }
}

void trimTail(Audio& audio, float threshold) {
    const float limit = peak(audio) * threshold;
    size_t last = 0;
    for (size_t f = 0; f < audio.frames(); ++f)
        for (int c = 0; c < audio.channels; ++c)
            if (std::fabs(audio.at(f, c)) > limit) last = f;
    const size_t keep = std::min(audio.frames(), last + framesFor(0.03));
    audio.samples.resize(keep * static_cast<size_t>(audio.channels));
    fadeOut(audio, 0.03);
}

void trimHead(Audio& audio, float threshold) {
    const float limit = peak(audio) * threshold;
    size_t first = 0;
    while (first < audio.frames()) {
        bool loud = false;
        for (int c = 0; c < audio.channels; ++c) loud = loud || std::fabs(audio.at(first, c)) > limit;
        if (loud) break;
        ++first;
    }
    audio.samples.erase(audio.samples.begin(), audio.samples.begin() + static_cast<std::ptrdiff_t>(first * audio.channels));
}

void removeDc(Audio& audio) {
    for (int c = 0; c < audio.channels; ++c) {
        // A gentle high-pass at about 10 Hz.
        double prevIn = 0, prevOut = 0;
        const double r = 1.0 - 2.0 * std::numbers::pi * 10.0 / kRate;
        for (size_t f = 0; f < audio.frames(); ++f) {
            const double in = audio.at(f, c);
            const double out = in - prevIn + r * prevOut;
            prevIn = in;
            prevOut = out;
            audio.at(f, c) = static_cast<float>(out);
        }
    }
}

}  // namespace sfx
