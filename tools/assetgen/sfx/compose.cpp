#include "compose.hpp"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string>

namespace sfx {

namespace {

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

Chord parseChord(std::string_view s) {
    static constexpr std::string_view letters = "C.D.EF.G.A.B";
    if (s.empty() || letters.find(s[0]) == std::string_view::npos || s[0] == '.')
        throw std::invalid_argument("bad chord " + std::string(s));
    Chord c;
    c.root = static_cast<int>(letters.find(s[0]));
    size_t i = 1;
    if (i < s.size() && s[i] == '#') c.root += 1, ++i;
    if (i < s.size() && s[i] == 'b') c.root += 11, ++i;
    c.root %= 12;
    const std::string_view q = s.substr(i);
    if (q.empty())
        c.intervals = {0, 4, 7};
    else if (q == "m")
        c.intervals = {0, 3, 7};
    else if (q == "7")
        c.intervals = {0, 4, 7, 10};
    else if (q == "m7")
        c.intervals = {0, 3, 7, 10};
    else if (q == "maj7")
        c.intervals = {0, 4, 7, 11};
    else if (q == "sus4")
        c.intervals = {0, 5, 7};
    else if (q == "sus2")
        c.intervals = {0, 2, 7};
    else if (q == "add9")
        c.intervals = {0, 4, 7, 14};
    else if (q == "m9")
        c.intervals = {0, 3, 7, 10, 14};
    else if (q == "dim")
        c.intervals = {0, 3, 6};
    else
        throw std::invalid_argument("bad chord quality " + std::string(s));
    return c;
}

// How a pattern character strikes: the velocity scale of a drum hit.
double drumWeight(char c) {
    switch (c) {
        case 'X': return 1.0;
        case 'x': return 0.82;
        case 'o': return 0.62;
        case 'g': return 0.4;
        default: return 0.0;
    }
}

// Runs of a pattern: each struck step with its length in sixteenths (the step and its holds).
template <typename Strike>
void eachStep(const Span& span, std::string_view pattern, Strike strike) {
    const int steps = span.beatsPerBar * 4;
    for (size_t bar = 0; bar < span.bars.size(); ++bar) {
        for (int s = 0; s < steps; ++s) {
            const char c = pattern[static_cast<size_t>(s) % pattern.size()];
            if (c == '-' || c == '.') continue;
            int length = 1;
            while (s + length < steps && pattern[static_cast<size_t>(s + length) % pattern.size()] == '-') ++length;
            strike(span.bars[bar], span.beat(static_cast<int>(bar)) + s * 0.25, length * 0.25, c, s);
        }
    }
}

// A gentle accent: the first step of each beat a little louder than the others.
int accented(int velocity, int step) { return step % 4 == 0 ? velocity : velocity * 88 / 100; }

}  // namespace

int Key::pitch(int degree) const {
    const int octave = floorDiv(degree, 7);
    return tonic + 12 * octave + steps[static_cast<size_t>(degree - 7 * octave)];
}

std::vector<Chord> chords(std::string_view symbols) {
    std::vector<Chord> out;
    size_t i = 0;
    while (i < symbols.size()) {
        while (i < symbols.size() && symbols[i] == ' ') ++i;
        size_t j = i;
        while (j < symbols.size() && symbols[j] != ' ') ++j;
        if (j > i) out.push_back(parseChord(symbols.substr(i, j - i)));
        i = j;
    }
    return out;
}

std::vector<int> voicing(const Chord& chord, int centre, int count) {
    // Every chord tone in a wide range, then the `count` tones from the first at or above centre - 6.
    std::vector<int> tones;
    for (int octave = -1; octave < 10; ++octave)
        for (int interval : chord.intervals) tones.push_back(12 * octave + chord.root + interval);
    std::sort(tones.begin(), tones.end());
    tones.erase(std::unique(tones.begin(), tones.end()), tones.end());
    auto first = std::lower_bound(tones.begin(), tones.end(), centre - 6);
    std::vector<int> out;
    for (auto it = first; it != tones.end() && static_cast<int>(out.size()) < count; ++it) out.push_back(*it);
    return out;
}

double addMelody(Score& score, int channel, const Key& key, double startBeat, std::string_view text, int velocity, int shift) {
    double beat = startBeat;
    size_t i = 0;
    int index = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i >= text.size()) break;
        size_t j = text.find(' ', i);
        if (j == std::string_view::npos) j = text.size();
        const std::string_view token = text.substr(i, j - i);
        i = j;
        const size_t colon = token.find(':');
        if (colon == std::string_view::npos) throw std::invalid_argument("bad melody token " + std::string(token));
        const double length = std::stod(std::string(token.substr(colon + 1)));
        std::string_view pitch = token.substr(0, colon);
        if (pitch != "r") {
            int alter = 0;
            if (pitch.back() == '#')
                alter = 1, pitch.remove_suffix(1);
            else if (pitch.back() == 'b')
                alter = -1, pitch.remove_suffix(1);
            int degree = 0;
            std::from_chars(pitch.data(), pitch.data() + pitch.size(), degree);
            // Notes on the beat lead; the ones between lean back a little.
            const bool onBeat = beat - static_cast<int>(beat) < 0.01;
            const int v = onBeat ? velocity : velocity - 8 - (index % 3) * 2;
            // A slight overlap keeps a legato line joined; short notes stay detached.
            const double held = length >= 1 ? length * 0.96 : length * 0.85;
            score.add(beat, held, channel, key.pitch(degree + shift) + alter, v);
        }
        beat += length;
        ++index;
    }
    return beat - startBeat;
}

void addBass(Score& score, int channel, const Span& span, std::string_view pattern, int lowest, int velocity) {
    eachStep(span, pattern, [&](const Chord& chord, double beat, double length, char c, int step) {
        int root = lowest + ((chord.root - lowest) % 12 + 12) % 12;
        int key = root;
        const bool minor = std::find(chord.intervals.begin(), chord.intervals.end(), 3) != chord.intervals.end();
        switch (c) {
            case 'R': key = root; break;
            case 'F': key = root + 7; break;
            case 'O': key = root + 12; break;
            case 'T': key = root + (minor ? 3 : 4); break;
            case 'S': key = root + (chord.intervals.size() > 3 ? chord.intervals[3] : 12); break;
            default: return;
        }
        score.add(beat, length * 0.92, channel, key, accented(velocity, step));
    });
}

void addArpeggio(Score& score, int channel, const Span& span, std::string_view pattern, int centre, int voices, int velocity) {
    eachStep(span, pattern, [&](const Chord& chord, double beat, double length, char c, int step) {
        if (c < '0' || c > '9') return;
        const std::vector<int> tones = voicing(chord, centre, std::max(voices, c - '0' + 1));
        score.add(beat, length, channel, tones[static_cast<size_t>(c - '0')], accented(velocity, step));
    });
}

void addComp(Score& score, int channel, const Span& span, std::string_view pattern, int centre, int voices, int velocity) {
    eachStep(span, pattern, [&](const Chord& chord, double beat, double length, char c, int step) {
        if (c != 'x') return;
        for (int key : voicing(chord, centre, voices)) score.add(beat, length * 0.9, channel, key, accented(velocity, step));
    });
}

void addPad(Score& score, int channel, const Span& span, int centre, int voices, int velocity) {
    for (size_t bar = 0; bar < span.bars.size(); ++bar)
        for (int key : voicing(span.bars[bar], centre, voices))
            score.add(span.beat(static_cast<int>(bar)), span.beatsPerBar * 0.98, channel, key, velocity);
}

void addDrums(Score& score, int firstBar, int bars, int beatsPerBar, const std::vector<DrumLine>& lines) {
    const int steps = beatsPerBar * 4;
    for (int bar = 0; bar < bars; ++bar)
        for (const DrumLine& line : lines)
            for (int s = 0; s < steps; ++s) {
                const double w = drumWeight(line.pattern[static_cast<size_t>(s) % line.pattern.size()]);
                if (w > 0) score.add((firstBar + bar) * beatsPerBar + s * 0.25, 0.2, kDrums, line.key, static_cast<int>(118 * w));
            }
}

}  // namespace sfx
