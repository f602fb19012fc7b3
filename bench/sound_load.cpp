// Start-up cost of the sound set: opening the device and loading all 35 streams (effects decoded
// into memory, music opened for streaming), and decoding every file in full for comparison.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <cstdlib>

#include "present/sound.hpp"

namespace {

const data::GameFolder& gameFolder() {
    static const data::GameFolder folder(LUMERIK_BENCH_GAME_DIR);
    return folder;
}

void BM_LoadSounds(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        state.SkipWithError("no audio subsystem");
        return;
    }
    for (auto _ : state) {
        present::SoundSystem sound;
        if (!sound.openAudio()) {
            state.SkipWithError("no audio device");
            break;
        }
        sound.loadSounds(gameFolder());
        benchmark::DoNotOptimize(sound.loaded(rules::SoundMusicStrategy));
        state.PauseTiming();
        sound.closeAudio();
        state.ResumeTiming();
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
BENCHMARK(BM_LoadSounds)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_DecodeWholeSet(benchmark::State& state) {
    for (auto _ : state) {
        long frames = 0;
        for (int id = 0; id < rules::kSoundCount; ++id) {
            OggVorbis_File vf;
            const std::filesystem::path file = gameFolder().resolve(present::soundFile(static_cast<rules::SoundId>(id)));
            if (ov_fopen(file.c_str(), &vf) != 0) continue;
            float** pcm = nullptr;
            int section = 0;
            for (long n; (n = ov_read_float(&vf, &pcm, 4096, &section)) > 0;) frames += n;
            ov_clear(&vf);
        }
        benchmark::DoNotOptimize(frames);
    }
}
BENCHMARK(BM_DecodeWholeSet)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
