// The sound layer on a real SDL audio device: SDL's disk driver writes what the device would play
// to a file, which the tests read back.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "present/sound.hpp"
#include "support/test_support.hpp"

namespace {

using present::SoundSystem;

struct DiskDevice : ::testing::Test {
    testing_support::TempFolder temp;
    std::filesystem::path capture = temp.path() / "out.raw";
    SoundSystem sound;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_TRUE(sound.openAudio());
        sound.loadSounds(data::GameFolder(testing_support::builtGameFolder()));
        // Effects at full volume mix into silence unchanged.
        sound.applyVolumes(present::Volumes::On, {100, 0, 0.65});
    }
    void TearDown() override {
        sound.closeAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    // Waits (in real time, as the device plays) until `id` has finished, or at most `ms`.
    void waitUntilDone(rules::SoundId id, int ms) {
        for (int waited = 0; waited < ms && sound.isPlaying(id); waited += 10) SDL_Delay(10);
        SDL_Delay(60);
    }
    // Closes the device, which flushes the file, and reads the 16-bit stereo samples.
    std::vector<int16_t> captured() {
        sound.closeAudio();
        const std::string bytes = testing_support::readFile(capture);
        std::vector<int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }
};

// The effect's samples exactly as the mixer holds them (the device's format).
std::vector<int16_t> chunkSamples(rules::SoundId id) {
    const std::filesystem::path file = data::GameFolder(testing_support::builtGameFolder()).resolve(present::soundFile(id));
    Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
    if (!chunk) return {};
    std::vector<int16_t> samples(chunk->alen / 2);
    std::memcpy(samples.data(), chunk->abuf, samples.size() * 2);
    Mix_FreeChunk(chunk);
    return samples;
}

size_t firstSound(const std::vector<int16_t>& samples, size_t from = 0) {
    for (size_t i = from; i < samples.size(); ++i)
        if (samples[i] != 0) return i;
    return samples.size();
}

int peakOf(const std::vector<int16_t>& samples) {
    int p = 0;
    for (int16_t s : samples) p = std::max(p, std::abs(static_cast<int>(s)));
    return p;
}

// True when `samples` holds `effect` (from its first sound on) starting at `at`.
bool holdsAt(const std::vector<int16_t>& samples, size_t at, const std::vector<int16_t>& effect) {
    const size_t start = firstSound(effect);
    if (at + (effect.size() - start) > samples.size()) return false;
    for (size_t i = start; i < effect.size(); ++i)
        if (std::abs(samples[at + i - start] - effect[i]) > 1) return false;
    return true;
}

TEST_F(DiskDevice, PlayedEffectReachesTheDeviceUnchanged) {
    const std::vector<int16_t> effect = chunkSamples(rules::SoundBlockLeft);
    ASSERT_GT(effect.size(), 1000u);
    sound.playSound(rules::SoundBlockLeft);
    EXPECT_TRUE(sound.isPlaying(rules::SoundBlockLeft));
    waitUntilDone(rules::SoundBlockLeft, 3000);
    EXPECT_FALSE(sound.isPlaying(rules::SoundBlockLeft));
    const std::vector<int16_t> out = captured();
    const size_t at = firstSound(out);
    ASSERT_LT(at, out.size()) << "the device played only silence";
    EXPECT_EQ(at % 2, firstSound(effect) % 2) << "left and right swapped";
    EXPECT_TRUE(holdsAt(out, at, effect));
    // Nothing else was mixed in after it.
    EXPECT_EQ(firstSound(out, at + effect.size() - firstSound(effect)), out.size());
}

TEST_F(DiskDevice, ReplayedEffectRestartsWithoutDoublingItsLevel) {
    const std::vector<int16_t> effect = chunkSamples(rules::SoundExplode);
    ASSERT_GT(effect.size(), 1000u);
    sound.playSound(rules::SoundExplode);
    SDL_Delay(250);
    sound.playSound(rules::SoundExplode);
    waitUntilDone(rules::SoundExplode, 4000);
    const std::vector<int16_t> out = captured();
    // Never louder than one copy: the replay cut off the first play rather than mixing over it.
    EXPECT_LE(peakOf(out), peakOf(effect) + 1);
    const size_t first = firstSound(out);
    ASSERT_LT(first, out.size());
    // The whole effect follows the second start, alone: find where it starts over.
    size_t second = out.size();
    const int16_t onset = effect[firstSound(effect)];
    for (size_t i = first + 2; i < out.size(); ++i)
        if (out[i] == onset && holdsAt(out, i, effect)) {
            second = i;
            break;
        }
    ASSERT_LT(second, out.size()) << "the replay did not start the effect over";
    EXPECT_GT(second - first, 2u * 44100 / 10);  // at least ~100 ms of the first play was heard
}

TEST_F(DiskDevice, BeepIsAHundredMillisecondsOfFourKilohertz) {
    sound.beep();
    SDL_Delay(300);
    const std::vector<int16_t> out = captured();
    size_t frames = 0, crossings = 0;
    int previous = 0;
    for (size_t i = 0; i < out.size(); i += 2) {
        if (out[i] == 0) continue;
        ++frames;
        if ((out[i] > 0) != (previous > 0) && previous != 0) ++crossings;
        previous = out[i];
    }
    EXPECT_NEAR(static_cast<double>(frames), 4410.0, 50.0);
    // Two crossings a cycle, 400 cycles in 100 ms.
    EXPECT_NEAR(static_cast<double>(crossings), 800.0, 20.0);
    EXPECT_GT(peakOf(out), 8000);
}

TEST(NoAudioDevice, TheGameRunsSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const bool initialised = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SoundSystem sound;
    EXPECT_FALSE(sound.openAudio());
    sound.loadSounds(data::GameFolder(testing_support::builtGameFolder()));
    sound.playSound(rules::SoundMenuMusic);
    sound.beep();
    EXPECT_FALSE(sound.isPlaying(rules::SoundMenuMusic));
    EXPECT_FALSE(sound.loaded(rules::SoundMenuMusic));
    if (initialised) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace
