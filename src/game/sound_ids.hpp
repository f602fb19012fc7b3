#pragma once
#include <cstdint>

namespace rules {

// Index into the table of 35 streams: 0..29 effects, 30..34 music.
enum SoundId : int32_t {
    SoundBlockLeft = 0,
    SoundBlockRight = 1,
    SoundBoardLeft = 2,
    SoundBoardRight = 3,
    SoundExplode = 4,
    SoundColor = 5,
    SoundScore = 6,
    SoundFreeze = 7,
    SoundBonusAppear = 8,
    SoundShuffle = 9,
    SoundFallLevel = 10,
    SoundRuneShine = 11,
    SoundNewBalls = 12,
    SoundDisappear = 13,
    SoundFalling0 = 14,  // 14..18: falling0..falling4
    SoundMouseOver = 19,
    SoundMouseClick = 20,
    SoundMouseRotation = 21,
    SoundCombo1 = 22,  // 22..28: combo1..combo7
    SoundLevelJingle = 29,
    SoundMenuMusic = 30,
    SoundMusicAction = 31,
    SoundMusicPuzzle = 32,
    SoundMusicSpace = 33,
    SoundMusicStrategy = 34,
};
inline constexpr int kSoundCount = 35;
inline constexpr int kEffectCount = 30;

// What the rules need from the sound layer. The presentation implements it over the mixer (or the
// simulated mixer of lumerik-sim); tests implement it with a recorder.
class SoundSink {
  public:
    virtual ~SoundSink() = default;
    // Restarts the stream when it is already playing.
    virtual void play(SoundId id) = 0;
    virtual void stop(SoundId id) = 0;
    virtual bool isPlaying(SoundId id) const = 0;
};

// A sink that plays nothing; for code paths with no sound layer.
class SilentSound final : public SoundSink {
  public:
    void play(SoundId) override {}
    void stop(SoundId) override {}
    bool isPlaying(SoundId) const override { return false; }
};

}  // namespace rules
