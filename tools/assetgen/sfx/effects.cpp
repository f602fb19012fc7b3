#include "effects.hpp"

#include <algorithm>

#include "noise.hpp"
#include "score.hpp"

namespace sfx {

namespace {

// Effects are written at 60 beats a minute, so a beat is a second.
Score effectScore(std::initializer_list<Instrument> instruments, double seconds, double reverb = 0.3) {
    Score s;
    s.tempo = 60;
    s.lengthBeats = seconds;
    s.tailSeconds = 1.5;
    s.reverbRoom = 0.45;
    s.reverbLevel = reverb;
    s.gain = 0.5;
    s.instruments = instruments;
    return s;
}

// A rendered effect ends once its ring has fallen 40 dB below its peak: a long, quiet reverb tail
// would keep a sound "playing" well after anyone can hear it.
// Quick interface and board sounds are also cut at `maxSeconds`, with a short fade.
Audio render(const Score& score, const std::string& soundfont, double maxSeconds = 10) {
    Audio a = toMono(renderScore(score, soundfont, Ending::OneShot));
    trimHead(a, 0.002f);
    trimTail(a, 0.01f);
    if (a.seconds() > maxSeconds) {
        a.samples.resize(framesFor(maxSeconds));
        fadeOut(a, std::min(0.1, maxSeconds / 3));
    }
    return a;
}

// Mixes DSP noise into a rendered tone at `gain` relative to the tone's peak.
Audio layer(Audio tone, const Audio& noise, double at, float gain) {
    const float tonePeak = std::max(peak(tone), 1e-6f);
    const float noisePeak = std::max(peak(noise), 1e-6f);
    mixInto(tone, noise, framesFor(at), gain * tonePeak / noisePeak);
    return tone;
}

constexpr int kCelesta = 8, kGlockenspiel = 9, kMusicBox = 10, kVibraphone = 11, kMarimba = 12, kXylophone = 13,
              kTubularBells = 14, kHarp = 46, kTimpani = 47, kKalimba = 108;

}  // namespace

Audio blockTurn(Turn turn, const std::string& soundfont) {
    Score s = effectScore({{0, kMarimba, 110}}, 0.3, 0.15);
    const int first = turn == Turn::Left ? 79 : 74, second = turn == Turn::Left ? 74 : 79;
    s.add(0, 0.1, 0, first, 100);
    s.add(0.07, 0.2, 0, second, 110);
    return layer(render(s, soundfont, 0.45), whoosh(turn == Turn::Left ? Sweep::Falling : Sweep::Rising, 0.2), 0, 0.3f);
}

Audio boardTurn(Turn turn, const std::string& soundfont) {
    Score s = effectScore({{0, kHarp, 115}}, 0.7, 0.35);
    static constexpr int scale[] = {62, 64, 67, 69, 71, 74, 76, 79, 81, 83, 86};
    const int n = static_cast<int>(std::size(scale));
    for (int i = 0; i < n; ++i) {
        const int key = turn == Turn::Right ? scale[i] : scale[n - 1 - i];
        s.add(i * 0.045, 0.5, 0, key, 80 + i * 3);
    }
    return layer(render(s, soundfont, 0.9), whoosh(turn == Turn::Left ? Sweep::Falling : Sweep::Rising, 0.6), 0.02, 0.6f);
}

Audio explosion(const std::string& soundfont) {
    Score s = effectScore({{0, kTimpani, 120}}, 0.8, 0.3);
    s.add(0, 0.6, 0, 38, 127);
    s.add(0, 0.6, 0, 45, 110);
    return layer(explosionNoise(), render(s, soundfont), 0, 0.45f);
}

Audio colourSweep(const std::string& soundfont) {
    Score s = effectScore({{0, kGlockenspiel, 110}, {1, kCelesta, 90}}, 1.0, 0.45);
    static constexpr int run[] = {72, 76, 79, 83, 84, 88, 91, 95, 96};
    for (int i = 0; i < static_cast<int>(std::size(run)); ++i) s.add(i * 0.045, 0.35, 0, run[i], 86 + i * 4);
    for (int key : {84, 88, 91, 95}) s.add(0.42, 0.6, 1, key, 70);
    return layer(render(s, soundfont), whoosh(Sweep::Rising, 0.45), 0, 0.25f);
}

Audio scoreChime(const std::string& soundfont) {
    Score s = effectScore({{0, kGlockenspiel, 115}, {1, kTubularBells, 100}, {2, kVibraphone, 90}}, 1.0, 0.4);
    s.add(0, 0.2, 0, 88, 110);
    s.add(0.09, 0.8, 0, 96, 120);
    s.add(0.09, 1.0, 1, 84, 100);
    for (int key : {72, 76, 79}) s.add(0.09, 0.9, 2, key, 80);
    return render(s, soundfont);
}

Audio freeze(const std::string& soundfont) {
    Score s = effectScore({{0, kCelesta, 110}, {1, kVibraphone, 80}}, 1.0, 0.6);
    static constexpr int cluster[] = {96, 101, 98, 103, 100, 105};
    for (int i = 0; i < 6; ++i) s.add(i * 0.04, 0.7, 0, cluster[i], 96 - i * 5);
    s.add(0, 1.0, 1, 83, 70);
    s.add(0, 1.0, 1, 90, 70);
    return layer(iceCrackle(), render(s, soundfont), 0.02, 0.55f);
}

Audio bonusAppear(const std::string& soundfont) {
    Score s = effectScore({{0, kMusicBox, 115}}, 0.5, 0.45);
    s.add(0, 0.3, 0, 88, 100);
    s.add(0.07, 0.3, 0, 92, 106);
    s.add(0.14, 0.45, 0, 95, 114);
    return render(s, soundfont, 1.0);
}

Audio shuffleSound() { return riffle(); }

Audio levelFallOut(const std::string& soundfont) {
    Score s = effectScore({{0, kXylophone, 110}, {1, kTimpani, 110}}, 1.2, 0.35);
    static constexpr int run[] = {96, 93, 91, 88, 86, 84, 81, 79, 76, 74, 72, 69};
    for (int i = 0; i < static_cast<int>(std::size(run)); ++i) s.add(i * 0.06, 0.3, 0, run[i], 110 - i * 3);
    s.add(0.78, 0.6, 1, 40, 120);
    return layer(render(s, soundfont), whoosh(Sweep::Falling, 0.8), 0.05, 0.35f);
}

Audio runeShine(const std::string& soundfont) {
    Score s = effectScore({{0, kVibraphone, 100}, {1, kCelesta, 110}}, 1.4, 0.6);
    static constexpr int chord[] = {76, 79, 83, 86};
    // A shimmering tremolo on the vibraphone under a rising celesta call.
    for (int i = 0; i < 14; ++i) s.add(i * 0.08, 0.12, 0, chord[i % 4], 92 - i * 3);
    static constexpr int rise[] = {88, 91, 95, 98};
    for (int i = 0; i < 4; ++i) s.add(0.1 + i * 0.12, 0.7, 1, rise[i], 90 + i * 6);
    return render(s, soundfont);
}

Audio newBalls(const std::string& soundfont) {
    Score s = effectScore({{0, kMarimba, 110}}, 0.35, 0.2);
    s.add(0, 0.15, 0, 67, 100);
    s.add(0.05, 0.15, 0, 72, 96);
    s.add(0.1, 0.2, 0, 76, 104);
    return render(s, soundfont, 0.5);
}

Audio disappear(const std::string& soundfont) {
    Score s = effectScore({{0, kKalimba, 110}, {1, kCelesta, 90}}, 0.3, 0.3);
    s.add(0.02, 0.2, 0, 84, 110);
    s.add(0.05, 0.2, 1, 96, 70);
    return layer(render(s, soundfont, 0.5), puff(), 0, 0.7f);
}

Audio falling(int step, const std::string& soundfont) {
    static constexpr int pitches[] = {72, 74, 76, 79, 81};
    Score s = effectScore({{0, kXylophone, 105}}, 0.2, 0.15);
    s.add(0, 0.15, 0, pitches[std::clamp(step, 0, 4)], 100);
    return render(s, soundfont, 0.3);
}

Audio mouseOver(const std::string& soundfont) {
    Score s = effectScore({{0, kCelesta, 100}}, 0.12, 0.2);
    s.add(0, 0.08, 0, 96, 70);
    return render(s, soundfont, 0.3);
}

Audio mouseClick(const std::string& soundfont) {
    Score s = effectScore({{kDrums, 0, 110}}, 0.1, 0.1);
    s.add(0, 0.05, kDrums, 76, 110);
    return layer(render(s, soundfont), click(), 0, 0.5f);
}

Audio rotationHover(const std::string& soundfont) {
    Score s = effectScore({{0, kVibraphone, 100}}, 0.15, 0.25);
    s.add(0, 0.1, 0, 79, 76);
    s.add(0.03, 0.1, 0, 86, 70);
    return render(s, soundfont, 0.35);
}

Audio comboChime(int step, const std::string& soundfont) {
    static constexpr int pitches[] = {84, 86, 88, 91, 93, 96, 98};
    const int n = std::clamp(step, 1, 7);
    const int top = pitches[n - 1];
    Score s = effectScore({{0, kGlockenspiel, 112}, {1, kVibraphone, 96}}, 0.8, 0.4);
    s.add(0, 0.6, 0, top, 104 + n * 2);
    s.add(0, 0.7, 1, top - 12, 90);
    s.add(0, 0.7, 1, top - 8, 80);
    // Longer chains ring a little brighter: an extra sparkle an octave up.
    if (n >= 4) s.add(0.06, 0.4, 0, top + 12, 70 + n * 4);
    return render(s, soundfont, 1.0);
}

}  // namespace sfx
