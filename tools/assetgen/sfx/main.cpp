// assetgen-sfx SOUNDFONT OUTDIR: writes every sound of the game under OUTDIR (the game folder's mfx).
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fluidsynth.h>

#include "effects.hpp"
#include "music.hpp"
#include "noise.hpp"
#include "ogg_writer.hpp"

namespace {

using namespace sfx;

enum class Kind { Effect, Quiet, Music };

// One file of the sound table: its path under mfx, spelt as the game asks for it, and its maker.
struct Entry {
    const char* path;
    Kind kind;
    std::function<Audio(const std::string&)> make;
};

Audio musicOf(Score (*compose)(), const std::string& soundfont) { return renderScore(compose(), soundfont, Ending::Loop); }

std::vector<Entry> soundTable() {
    using S = const std::string&;
    std::vector<Entry> t = {
        {"vleft.ogg", Kind::Effect, [](S sf) { return blockTurn(Turn::Left, sf); }},
        {"vright.OGG", Kind::Effect, [](S sf) { return blockTurn(Turn::Right, sf); }},
        {"poleleft.OGG", Kind::Effect, [](S sf) { return boardTurn(Turn::Left, sf); }},
        {"poleright.OGG", Kind::Effect, [](S sf) { return boardTurn(Turn::Right, sf); }},
        {"explode.OGG", Kind::Effect, [](S sf) { return explosion(sf); }},
        {"color.OGG", Kind::Effect, [](S sf) { return colourSweep(sf); }},
        {"score.OGG", Kind::Effect, [](S sf) { return scoreChime(sf); }},
        {"freeze.OGG", Kind::Effect, [](S sf) { return freeze(sf); }},
        {"bonus_appear.OGG", Kind::Effect, [](S sf) { return bonusAppear(sf); }},
        {"shuffle.OGG", Kind::Effect, [](S) { return shuffleSound(); }},
        {"fall_level.OGG", Kind::Effect, [](S sf) { return levelFallOut(sf); }},
        {"runeshine.OGG", Kind::Effect, [](S sf) { return runeShine(sf); }},
        {"newballs.OGG", Kind::Quiet, [](S sf) { return newBalls(sf); }},
        {"disappear.OGG", Kind::Effect, [](S sf) { return disappear(sf); }},
    };
    static const char* fallingNames[] = {"falling/falling0.OGG", "falling/falling1.OGG", "falling/falling2.OGG",
                                         "falling/falling3.OGG", "falling/falling4.OGG"};
    for (int i = 0; i < 5; ++i) t.push_back({fallingNames[i], Kind::Effect, [i](S sf) { return falling(i, sf); }});
    t.push_back({"mouseover.OGG", Kind::Quiet, [](S sf) { return mouseOver(sf); }});
    t.push_back({"mouseclick.OGG", Kind::Effect, [](S sf) { return mouseClick(sf); }});
    t.push_back({"mouseRotation.OGG", Kind::Quiet, [](S sf) { return rotationHover(sf); }});
    static const char* comboNames[] = {"combo/combo1.OGG", "combo/combo2.OGG", "combo/combo3.OGG", "combo/combo4.OGG",
                                       "combo/combo5.OGG", "combo/combo6.OGG", "combo/combo7.OGG"};
    for (int i = 1; i <= 7; ++i) t.push_back({comboNames[i - 1], Kind::Effect, [i](S sf) { return comboChime(i, sf); }});
    t.push_back(
        {"music/music_level.OGG", Kind::Effect, [](S sf) { return toMono(renderScore(levelJingle(), sf, Ending::OneShot)); }});
    t.push_back({"music/menu.OGG", Kind::Music, [](S sf) { return musicOf(menuMusic, sf); }});
    t.push_back({"music/action.OGG", Kind::Music, [](S sf) { return musicOf(actionMusic, sf); }});
    t.push_back({"music/puzzle.OGG", Kind::Music, [](S sf) { return musicOf(puzzleMusic, sf); }});
    t.push_back({"music/space.OGG", Kind::Music, [](S sf) { return musicOf(spaceMusic, sf); }});
    t.push_back({"music/strategy.OGG", Kind::Music, [](S sf) { return musicOf(strategyMusic, sf); }});
    return t;
}

// Effects peak near full scale and interface ticks lower; music is held to a lower loudness so that,
// at equal volume settings, the effects sit clearly above it. Nothing reaches full scale, so the
// decoder's small overshoots never clip.
void master(Audio& audio, Kind kind) {
    switch (kind) {
        case Kind::Effect:
            removeDc(audio);
            trimTail(audio, 0.008f);
            normalisePeak(audio, 0.85f);
            break;
        case Kind::Quiet:
            removeDc(audio);
            trimTail(audio, 0.01f);
            normalisePeak(audio, 0.6f);
            break;
        case Kind::Music: {
            const float p = peak(audio), level = activeRms(audio);
            if (p > 0 && level > 0) scale(audio, std::min(0.7f / p, 0.1f / level));
            break;
        }
    }
}

constexpr float kDecodedCeiling = 0.9f;

struct Report {
    std::string path;
    double seconds;
    float peak;
    float rms;
    uintmax_t bytes;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetgen-sfx SOUNDFONT OUTDIR\n");
        return 2;
    }
    const std::string soundfont = argv[1];
    const std::filesystem::path outDir = argv[2];
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) fluid_set_log_function(level, nullptr, nullptr);
    std::error_code ec;
    for (const char* sub : {"falling", "combo", "music"}) std::filesystem::create_directories(outDir / sub, ec);
    if (ec) {
        std::fprintf(stderr, "assetgen-sfx: cannot create %s\n", outDir.c_str());
        return 1;
    }

    const auto started = std::chrono::steady_clock::now();
    const std::vector<Entry> table = soundTable();
    std::vector<Report> reports(table.size());
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex errorLock;
    // The long music renders are taken first, so the two workers finish together.
    std::vector<size_t> order;
    for (size_t i = table.size(); i-- > 0;) order.push_back(i);
    auto worker = [&] {
        for (size_t k; (k = next++) < order.size();) {
            const size_t i = order[k];
            const Entry& e = table[i];
            try {
                Audio audio = e.make(soundfont);
                master(audio, e.kind);
                const std::filesystem::path file = outDir / e.path;
                const float quality = e.kind == Kind::Music ? 0.1f : 0.3f;
                const uint32_t serial = 0x4c4d0000u + static_cast<uint32_t>(i);
                if (!writeOggVorbis(audio, file, quality, serial, e.path))
                    throw std::runtime_error("cannot write " + file.string());
                // Where the coding pushed a peak up towards full scale, the sound is encoded again
                // a little quieter, so what the game decodes never clips.
                const float decoded = decodedPeak(file);
                if (decoded > kDecodedCeiling) {
                    scale(audio, kDecodedCeiling * 0.97f / decoded);
                    if (!writeOggVorbis(audio, file, quality, serial, e.path))
                        throw std::runtime_error("cannot write " + file.string());
                }
                reports[i] = {e.path, audio.seconds(), peak(audio), activeRms(audio), std::filesystem::file_size(file)};
            } catch (const std::exception& ex) {
                std::lock_guard<std::mutex> lock(errorLock);
                std::fprintf(stderr, "assetgen-sfx: %s: %s\n", e.path, ex.what());
                failed = true;
            }
        }
    };
    std::thread helper(worker);
    worker();
    helper.join();
    if (failed) return 1;

    uintmax_t total = 0;
    for (const Report& r : reports) {
        total += r.bytes;
        if (std::getenv("ASSETGEN_SFX_VERBOSE"))
            std::printf("%-24s %6.2f s  peak %.2f  rms %.3f  %7ju bytes\n", r.path.c_str(), r.seconds, r.peak, r.rms, r.bytes);
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("assetgen-sfx: %zu sounds, %.2f MiB, %.1f s\n", reports.size(), total / 1048576.0, elapsed);
    return 0;
}
