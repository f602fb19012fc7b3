// The sound set the build generates into the game folder, checked as the game will meet it.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>

#include "present/sound.hpp"
#include "support/test_support.hpp"

namespace {

using rules::SoundId;

struct Decoded {
    int channels = 0;
    long rate = 0;
    std::vector<float> samples;  // interleaved
    double seconds() const { return channels ? static_cast<double>(samples.size()) / channels / rate : 0; }
};

std::filesystem::path exactPath(SoundId id) {
    return testing_support::builtGameFolder() / data::normaliseGamePath(present::soundFile(id));
}

Decoded decode(const std::filesystem::path& file) {
    Decoded d;
    OggVorbis_File vf;
    if (ov_fopen(file.c_str(), &vf) != 0) return d;
    d.channels = ov_info(&vf, -1)->channels;
    d.rate = ov_info(&vf, -1)->rate;
    float** pcm = nullptr;
    int section = 0;
    for (long n; (n = ov_read_float(&vf, &pcm, 4096, &section)) > 0;)
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < d.channels; ++c) d.samples.push_back(pcm[c][i]);
    ov_clear(&vf);
    return d;
}

float peakOf(const Decoded& d) {
    float p = 0;
    for (float s : d.samples) p = std::max(p, std::fabs(s));
    return p;
}

double rmsOf(const float* begin, const float* end) {
    double sum = 0;
    for (const float* s = begin; s < end; ++s) sum += static_cast<double>(*s) * *s;
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0;
}

// The level of the loudest 100 ms: what a player hears of a short effect.
double loudestWindow(const Decoded& d) {
    const size_t window = static_cast<size_t>(d.rate / 10) * static_cast<size_t>(d.channels);
    double best = 0;
    for (size_t start = 0; start + window <= d.samples.size(); start += window / 4)
        best = std::max(best, rmsOf(d.samples.data() + start, d.samples.data() + start + window));
    return best;
}

TEST(SoundSet, EveryFileIsThereAsTheGameSpellsItAndTheSetStaysSmall) {
    uintmax_t total = 0;
    for (int id = 0; id < rules::kSoundCount; ++id) {
        const std::filesystem::path file = exactPath(static_cast<SoundId>(id));
        ASSERT_TRUE(std::filesystem::is_regular_file(file)) << file;
        total += std::filesystem::file_size(file);
    }
    EXPECT_EQ(exactPath(rules::SoundBlockLeft).extension(), ".ogg");
    EXPECT_EQ(exactPath(rules::SoundMouseRotation).filename(), "mouseRotation.OGG");
    EXPECT_LT(total, 8u * 1024 * 1024);
}

TEST(SoundSet, EffectsAreShortAndNothingClips) {
    for (int id = 0; id < rules::kEffectCount; ++id) {
        const Decoded d = decode(exactPath(static_cast<SoundId>(id)));
        ASSERT_GT(d.channels, 0) << id;
        EXPECT_EQ(d.rate, 44100) << id;
        EXPECT_GT(d.seconds(), 0.05) << id;
        EXPECT_LT(d.seconds(), id == rules::SoundLevelJingle ? 6.0 : 3.0) << id;
        EXPECT_LT(peakOf(d), 0.98f) << id;
        // It starts at once: sound within its first 20 ms.
        const size_t early = static_cast<size_t>(d.rate / 50) * static_cast<size_t>(d.channels);
        EXPECT_GT(rmsOf(d.samples.data(), d.samples.data() + early), 1e-3) << id;
    }
}

TEST(SoundSet, MusicLoopsSeamlesslyBelowTheEffects) {
    double loudestMusic = 0;
    for (int id = rules::SoundMenuMusic; id < rules::kSoundCount; ++id) {
        const Decoded d = decode(exactPath(static_cast<SoundId>(id)));
        ASSERT_EQ(d.channels, 2) << id;
        EXPECT_GE(d.seconds(), 60.0) << id;
        EXPECT_LE(d.seconds(), 120.0) << id;
        EXPECT_LT(peakOf(d), 0.98f) << id;
        loudestMusic = std::max(loudestMusic, rmsOf(d.samples.data(), d.samples.data() + d.samples.size()));
        // The jump from the last sample back to the first is no bigger than the music's own steps.
        for (int c = 0; c < 2; ++c) {
            std::vector<float> steps;
            for (size_t i = 2 + c; i < d.samples.size(); i += 2) steps.push_back(std::fabs(d.samples[i] - d.samples[i - 2]));
            std::nth_element(steps.begin(), steps.begin() + steps.size() * 999 / 1000, steps.end());
            const float typical = steps[steps.size() * 999 / 1000];
            const float seam = std::fabs(d.samples[static_cast<size_t>(c)] - d.samples[d.samples.size() - 2 + c]);
            EXPECT_LE(seam, typical) << id << " channel " << c;
        }
    }
    // At equal settings the music plays at the level file's 0.65 of the effects' volume; every
    // effect's loudest moment still stands clearly above the loudest track's average level.
    for (int id = 0; id < rules::kEffectCount; ++id) {
        const double effect = loudestWindow(decode(exactPath(static_cast<SoundId>(id))));
        EXPECT_GT(effect, 1.4 * 0.65 * loudestMusic) << id << ": " << effect << " against " << loudestMusic;
    }
}

}  // namespace
