#pragma once
#include <string>
#include <vector>

#include "audio.hpp"

namespace sfx {

inline constexpr int kDrums = 9;  // the General MIDI percussion channel

// One channel of the synthesiser: a General MIDI program with its mixer settings.
struct Instrument {
    int channel = 0;
    int program = 0;
    int volume = 100;  // controller 7
    int pan = 64;      // controller 10
    int reverb = 40;   // controller 91
    int chorus = 0;    // controller 93
};

struct Note {
    double beat = 0;    // start, in beats from the start of the score
    double length = 1;  // in beats
    int channel = 0;
    int key = 60;
    int velocity = 90;
};

// A pitch-bend change on a channel at a beat; 8192 is the centre.
struct Bend {
    double beat = 0;
    int channel = 0;
    int value = 8192;
};

struct Score {
    double tempo = 120;        // beats per minute
    double lengthBeats = 4;    // a loop's length, or the nominal length of a one-shot sound
    double tailSeconds = 2.5;  // rendered after the end, for release and reverb
    double reverbRoom = 0.6;
    double reverbLevel = 0.6;
    double gain = 0.4;
    std::vector<Instrument> instruments;
    std::vector<Note> notes;
    std::vector<Bend> bends;

    double seconds(double beats) const { return beats * 60.0 / tempo; }
    void add(double beat, double length, int channel, int key, int velocity) {
        notes.push_back({beat, length, channel, key, velocity});
    }
};

enum class Ending {
    OneShot,  // the tail is kept and trimmed where it falls silent
    Loop,     // the tail is folded into the start, so the end runs on into the beginning seamlessly
};

// Renders `score` in stereo through FluidSynth with the SoundFont `soundfont`.
Audio renderScore(const Score& score, const std::string& soundfont, Ending ending);

}  // namespace sfx
