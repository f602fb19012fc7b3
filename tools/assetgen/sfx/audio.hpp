#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sfx {

inline constexpr int kRate = 44100;

// Interleaved float samples at kRate, one or two channels.
struct Audio {
    int channels = 1;
    std::vector<float> samples;

    static Audio silence(int channels, double seconds);
    size_t frames() const { return samples.size() / static_cast<size_t>(channels); }
    double seconds() const { return static_cast<double>(frames()) / kRate; }
    float& at(size_t frame, int channel) { return samples[frame * static_cast<size_t>(channels) + channel]; }
};

size_t framesFor(double seconds);

// A small deterministic noise source (xorshift32), so every run renders the same noise.
class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
    float white();     // -1..1
    double uniform();  // 0..1
  private:
    uint32_t state_;
};

// A state-variable filter; the cutoff may change every sample.
class SvFilter {
  public:
    struct Out {
        float low, band, high;
    };
    Out step(float in, double cutoffHz, double q);

  private:
    double low_ = 0, band_ = 0;
};

// Mixes `src` into `dst` starting at `offset` frames, growing `dst` as needed. Mono sources spread to
// both channels of a stereo destination.
void mixInto(Audio& dst, const Audio& src, size_t offset, float gain);
Audio toMono(const Audio& stereo);
float peak(const Audio& audio);
// Root mean square over the frames louder than -50 dB of the peak: the level a listener hears.
float activeRms(const Audio& audio);
void scale(Audio& audio, float gain);
void normalisePeak(Audio& audio, float target);
void fadeIn(Audio& audio, double seconds);
void fadeOut(Audio& audio, double seconds);
// Cuts the tail once it stays below `threshold` of the peak, keeping a short fade so it ends in silence.
void trimTail(Audio& audio, float threshold);
// Cuts leading near-silence, so an effect sounds the moment it is played.
void trimHead(Audio& audio, float threshold);
// Removes a DC offset, which would otherwise click at the start and end of a sound.
void removeDc(Audio& audio);

}  // namespace sfx
