// The sound layer on the simulated mixer and a virtual clock, with the game's own sound files.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <set>

#include "present/sound.hpp"
#include "support/test_support.hpp"

namespace {

using present::SoundSystem;
using present::Volumes;
using rules::SoundId;

// The stream's length in whole milliseconds, rounded up, found by decoding every sample.
uint32_t decodedLengthMs(const std::filesystem::path& file) {
    OggVorbis_File vf;
    if (ov_fopen(file.c_str(), &vf) != 0) return 0;
    const long rate = ov_info(&vf, -1)->rate;
    uint64_t frames = 0;
    float** pcm = nullptr;
    int section = 0;
    for (long n; (n = ov_read_float(&vf, &pcm, 4096, &section)) > 0;) frames += static_cast<uint64_t>(n);
    ov_clear(&vf);
    return static_cast<uint32_t>((frames * 1000 + static_cast<uint64_t>(rate) - 1) / static_cast<uint64_t>(rate));
}

std::filesystem::path gameFile(SoundId id) {
    return data::GameFolder(testing_support::builtGameFolder()).resolve(present::soundFile(id));
}

struct SimulatedSound : ::testing::Test {
    rules::ManualClock clock{100000};
    SoundSystem sound;
    data::GameFolder folder{testing_support::builtGameFolder()};

    void SetUp() override {
        sound.openSimulatedAudio(clock);
        sound.loadSounds(folder);
    }
    std::vector<SoundId> logged(bool plays) const {
        std::vector<SoundId> ids;
        for (const present::SoundLogEntry& e : sound.log())
            if (e.play == plays) ids.push_back(e.id);
        return ids;
    }
};

TEST_F(SimulatedSound, EveryStreamLoadsAndEachEffectPlaysForItsDecodedLength) {
    for (int id = 0; id < rules::kSoundCount; ++id) EXPECT_TRUE(sound.loaded(static_cast<SoundId>(id))) << id;
    for (int id = 0; id < rules::kEffectCount; ++id) {
        const auto sid = static_cast<SoundId>(id);
        const uint32_t length = decodedLengthMs(gameFile(sid));
        ASSERT_GT(length, 50u) << id;
        EXPECT_FALSE(sound.isPlaying(sid));
        sound.playSound(sid);
        clock.advance(length - 1);
        EXPECT_TRUE(sound.isPlaying(sid)) << id;
        clock.advance(1);
        EXPECT_FALSE(sound.isPlaying(sid)) << id;
    }
}

TEST_F(SimulatedSound, ReplayingAPlayingEffectStartsItOverInsteadOfAddingACopy) {
    const uint32_t length = decodedLengthMs(gameFile(rules::SoundExplode));
    sound.playSound(rules::SoundExplode);
    clock.advance(300);
    sound.playSound(rules::SoundExplode);
    // The first play would have ended here; the restarted one runs its full length from the replay.
    clock.advance(length - 300);
    EXPECT_TRUE(sound.isPlaying(rules::SoundExplode));
    clock.advance(299);
    EXPECT_TRUE(sound.isPlaying(rules::SoundExplode));
    clock.advance(1);
    EXPECT_FALSE(sound.isPlaying(rules::SoundExplode));

    // Stopping rewinds: a stop then a play runs the whole length again.
    sound.playSound(rules::SoundScore);
    clock.advance(100);
    sound.stopSound(rules::SoundScore);
    EXPECT_FALSE(sound.isPlaying(rules::SoundScore));
    sound.playSound(rules::SoundScore);
    clock.advance(decodedLengthMs(gameFile(rules::SoundScore)) - 1);
    EXPECT_TRUE(sound.isPlaying(rules::SoundScore));

    // Replaying the playing music track keeps it, and only it, in the slot.
    sound.playSound(rules::SoundMenuMusic);
    sound.playSound(rules::SoundMenuMusic);
    EXPECT_EQ(sound.musicOwner(), rules::SoundMenuMusic);
    EXPECT_EQ(logged(true).size(), 6u);
}

TEST_F(SimulatedSound, MusicRepeatsAndShareOneSlotWithOwnership) {
    sound.playSound(rules::SoundMenuMusic);
    clock.advance(10 * 60 * 1000);
    EXPECT_TRUE(sound.isPlaying(rules::SoundMenuMusic));

    // Stopping a track that does not hold the slot leaves the playing one alone.
    sound.stopSound(rules::SoundMusicAction);
    sound.stopSound(rules::SoundMusicStrategy);
    EXPECT_TRUE(sound.isPlaying(rules::SoundMenuMusic));
    EXPECT_EQ(sound.musicOwner(), rules::SoundMenuMusic);

    // A new track takes the slot; the old owner's stop then does nothing to it.
    sound.playSound(rules::SoundMusicSpace);
    EXPECT_FALSE(sound.isPlaying(rules::SoundMenuMusic));
    sound.stopSound(rules::SoundMenuMusic);
    EXPECT_TRUE(sound.isPlaying(rules::SoundMusicSpace));
    EXPECT_EQ(sound.playingNow(), std::vector<SoundId>{rules::SoundMusicSpace});

    sound.stopSound(rules::SoundMusicSpace);
    EXPECT_FALSE(sound.musicOwner().has_value());
    EXPECT_TRUE(sound.playingNow().empty());

    // The level jingle is an effect: it plays once, over the music, and ends.
    sound.playSound(rules::SoundMusicPuzzle);
    sound.playSound(rules::SoundLevelJingle);
    EXPECT_TRUE(sound.isPlaying(rules::SoundMusicPuzzle));
    EXPECT_TRUE(sound.isPlaying(rules::SoundLevelJingle));
    clock.advance(decodedLengthMs(gameFile(rules::SoundLevelJingle)));
    EXPECT_FALSE(sound.isPlaying(rules::SoundLevelJingle));
    EXPECT_TRUE(sound.isPlaying(rules::SoundMusicPuzzle));
}

TEST_F(SimulatedSound, VolumesFollowTheSettingsAndTheMusicLimit) {
    sound.applyVolumes(Volumes::On, {100, 100, 0.65});
    EXPECT_FLOAT_EQ(sound.volume(rules::SoundMenuMusic), 0.65f);
    EXPECT_FLOAT_EQ(sound.volume(rules::SoundMusicStrategy), 0.65f);
    EXPECT_FLOAT_EQ(sound.volume(rules::SoundLevelJingle), 1.0f);  // the jingle counts as an effect
    EXPECT_FLOAT_EQ(sound.volume(rules::SoundBlockLeft), 1.0f);

    sound.applyVolumes(Volumes::On, {37, 80, 0.5});
    EXPECT_FLOAT_EQ(sound.volume(rules::SoundCombo1), 0.37f);
    EXPECT_FLOAT_EQ(sound.volume(rules::SoundMusicAction), 0.4f);

    // Off silences all 35; the streams go on playing and On brings the levels back.
    sound.playSound(rules::SoundMusicAction);
    sound.playSound(rules::SoundRuneShine);
    sound.applyVolumes(Volumes::Off);
    for (int id = 0; id < rules::kSoundCount; ++id) EXPECT_EQ(sound.volume(static_cast<SoundId>(id)), 0.0f) << id;
    EXPECT_TRUE(sound.isPlaying(rules::SoundMusicAction));
    EXPECT_TRUE(sound.isPlaying(rules::SoundRuneShine));
    sound.applyVolumes(Volumes::On, {37, 80, 0.5});
    EXPECT_FLOAT_EQ(sound.volume(rules::SoundMusicAction), 0.4f);

    // Damaged settings never push a stream beyond full volume or below silence.
    sound.applyVolumes(Volumes::On, {-20, 100, 3.0});
    EXPECT_EQ(sound.volume(rules::SoundShuffle), 0.0f);
    EXPECT_EQ(sound.volume(rules::SoundMenuMusic), 1.0f);
}

TEST_F(SimulatedSound, SilentEffectsStillPlaySoTheOneAtATimeRuleHolds) {
    sound.applyVolumes(Volumes::On, {0, 0, 0.65});
    sound.playSound(rules::SoundDisappear);
    sound.playSound(rules::SoundMenuMusic);
    EXPECT_TRUE(sound.isPlaying(rules::SoundDisappear));
    EXPECT_TRUE(sound.isPlaying(rules::SoundMenuMusic));
    EXPECT_EQ(sound.volume(rules::SoundDisappear), 0.0f);
}

TEST_F(SimulatedSound, GameMusicNeverRepeatsTheLastTrackEvenAcrossMenuReturns) {
    rules::Random random(20240611);
    std::optional<SoundId> previous;
    std::set<SoundId> used;
    sound.playSound(rules::SoundMenuMusic);
    for (int start = 0; start < 1000; ++start) {
        sound.startGameMusic(random);
        const std::optional<SoundId> chosen = sound.lastGameTrack();
        ASSERT_TRUE(chosen.has_value());
        ASSERT_GE(*chosen, rules::SoundMusicAction);
        ASSERT_LE(*chosen, rules::SoundMusicStrategy);
        ASSERT_NE(chosen, previous) << "start " << start;
        // The chosen track replaced whatever held the slot and is the only music playing.
        ASSERT_EQ(sound.playingNow(), std::vector<SoundId>{*chosen});
        previous = chosen;
        used.insert(*chosen);
        // Every third game the player goes back to the menus in between.
        if (start % 3 == 2) {
            for (int id = rules::SoundMusicAction; id <= rules::SoundMusicStrategy; ++id)
                sound.stopSound(static_cast<SoundId>(id));
            sound.playSound(rules::SoundMenuMusic);
            ASSERT_EQ(sound.musicOwner(), rules::SoundMenuMusic);
        }
    }
    EXPECT_EQ(used.size(), 4u);
}

TEST(SoundWithoutDevice, EverythingIsQuietlyIgnoredButStillLogged) {
    SoundSystem sound;
    // The running game keeps no log (it would grow for ever); the simulator asks for one.
    sound.playSound(rules::SoundExplode);
    EXPECT_TRUE(sound.log().empty());
    sound.keepLog();
    sound.loadSounds(data::GameFolder(testing_support::builtGameFolder()));
    rules::Random random(7);
    sound.playSound(rules::SoundExplode);
    sound.startGameMusic(random);
    sound.applyVolumes(Volumes::On);
    sound.beep();
    EXPECT_FALSE(sound.hasDevice());
    EXPECT_FALSE(sound.loaded(rules::SoundExplode));
    EXPECT_FALSE(sound.isPlaying(rules::SoundExplode));
    EXPECT_FALSE(sound.musicOwner().has_value());
    EXPECT_TRUE(sound.playingNow().empty());
    EXPECT_FALSE(sound.log().empty());
    // Out-of-table ids are refused outright.
    sound.playSound(static_cast<SoundId>(35));
    sound.stopSound(static_cast<SoundId>(-1));
    EXPECT_FALSE(sound.isPlaying(static_cast<SoundId>(35)));
}

TEST(SoundWithDamagedFiles, MissingEmptyAndGarbageFilesLeaveTheirSlotsEmpty) {
    testing_support::TempFolder temp;
    const std::filesystem::path built = testing_support::builtGameFolder();
    // A folder with three good files, one empty, one garbage and one truncated; the rest missing.
    for (const char* name : {"mfx/vleft.ogg", "mfx/music/menu.OGG", "mfx/combo/combo3.OGG"}) {
        std::filesystem::create_directories((temp.path() / name).parent_path());
        std::filesystem::copy_file(built / name, temp.path() / name);
    }
    testing_support::writeFile(temp.path() / "mfx/vright.OGG", "");
    testing_support::writeFile(temp.path() / "mfx/explode.OGG", std::string(5000, 'x'));
    testing_support::writeFile(temp.path() / "mfx/music/action.OGG",
                               testing_support::readFile(built / "mfx/music/action.OGG").substr(0, 40));
    // A good effect followed by 100 MB of nothing is no effect of ours (a sparse file).
    std::filesystem::copy_file(built / "mfx/freeze.OGG", temp.path() / "mfx/freeze.OGG");
    std::filesystem::resize_file(temp.path() / "mfx/freeze.OGG", 100u << 20);

    rules::ManualClock clock;
    SoundSystem sound;
    sound.openSimulatedAudio(clock);
    sound.loadSounds(data::GameFolder(temp.path()));
    EXPECT_TRUE(sound.loaded(rules::SoundBlockLeft));
    EXPECT_TRUE(sound.loaded(rules::SoundMenuMusic));
    EXPECT_TRUE(sound.loaded(static_cast<SoundId>(24)));
    for (SoundId id : {rules::SoundBlockRight, rules::SoundExplode, rules::SoundMusicAction, rules::SoundFreeze}) {
        EXPECT_FALSE(sound.loaded(id)) << id;
        sound.playSound(id);
        EXPECT_FALSE(sound.isPlaying(id)) << id;
        sound.stopSound(id);
    }
    // An empty music slot never takes the slot from the playing track, nor frees it.
    sound.playSound(rules::SoundMenuMusic);
    sound.playSound(rules::SoundMusicAction);
    sound.stopSound(rules::SoundMusicAction);
    EXPECT_EQ(sound.musicOwner(), rules::SoundMenuMusic);
    EXPECT_TRUE(sound.isPlaying(rules::SoundMenuMusic));
}

}  // namespace
