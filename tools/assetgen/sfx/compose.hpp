#pragma once
#include <array>
#include <string_view>
#include <vector>

#include "score.hpp"

namespace sfx {

// A key: the tonic's MIDI note and the seven steps of its scale in semitones.
struct Key {
    int tonic = 60;
    std::array<int, 7> steps{0, 2, 4, 5, 7, 9, 11};
    // Scale degree 0 is the tonic, 7 the tonic an octave up, -1 the step below it.
    int pitch(int degree) const;
};

inline constexpr std::array<int, 7> kMajor{0, 2, 4, 5, 7, 9, 11};
inline constexpr std::array<int, 7> kMinor{0, 2, 3, 5, 7, 8, 10};
inline constexpr std::array<int, 7> kDorian{0, 2, 3, 5, 7, 9, 10};

// A chord: its root's pitch class and its intervals above the root.
struct Chord {
    int root = 0;
    std::vector<int> intervals{0, 4, 7};
};

// Chord symbols, one per bar, separated by spaces: "Am7 Fmaj7 C G", "Bb", "F#m", "Dsus4", "A7",
// "Cadd9", "Bdim".
std::vector<Chord> chords(std::string_view symbols);

// Chord tones near `centre`: `count` notes, the lowest at or above centre - 6, stacked upwards.
std::vector<int> voicing(const Chord& chord, int centre, int count);

// Where a piece of a score goes: the first bar, the bar length in beats and the chords from there.
struct Span {
    int firstBar = 0;
    int beatsPerBar = 4;
    std::vector<Chord> bars;
    double beat(int bar) const { return static_cast<double>((firstBar + bar) * beatsPerBar); }
};

// A melody in scale degrees: "4:1.5 5:.5 7:1 r:1 6#:2" (degree and length in beats; "r" rests; "#"
// and "b" raise or lower a degree by a semitone). Placed from `startBeat`, shifted by `shift`
// degrees. Returns the beats it lasts.
double addMelody(Score& score, int channel, const Key& key, double startBeat, std::string_view text, int velocity, int shift = 0);

// Patterns are strings with one character per sixteenth note, repeated over each bar:
//  bass:      'R' root, 'F' fifth, 'O' octave, 'T' third, 'S' seventh (or octave), '-' holds, '.' rests;
//  arpeggio:  '0'..'9' the nth note of the voicing counted upwards across octaves, '-' holds, '.' rests;
//  comp:      'x' the whole voicing, '-' holds, '.' rests.
// `lowest` is the bass register's root octave start (the root goes at or above it).
void addBass(Score& score, int channel, const Span& span, std::string_view pattern, int lowest, int velocity);
void addArpeggio(Score& score, int channel, const Span& span, std::string_view pattern, int centre, int voices, int velocity);
void addComp(Score& score, int channel, const Span& span, std::string_view pattern, int centre, int voices, int velocity);
// Sustained chords, one per bar.
void addPad(Score& score, int channel, const Span& span, int centre, int voices, int velocity);

// A drum pattern for one General MIDI percussion key: 'X' accent, 'x' normal, 'o' soft, 'g' ghost,
// '.' nothing; repeated for `bars` bars from `firstBar`.
struct DrumLine {
    int key;
    std::string_view pattern;
};
void addDrums(Score& score, int firstBar, int bars, int beatsPerBar, const std::vector<DrumLine>& lines);

}  // namespace sfx
