#include "music.hpp"

#include "compose.hpp"

namespace sfx {

namespace {

Span span(int firstBar, int beatsPerBar, std::string_view symbols) { return {firstBar, beatsPerBar, chords(symbols)}; }

// General MIDI percussion keys.
constexpr int kKick = 36, kSideStick = 37, kSnare = 38, kClap = 39, kClosedHat = 42, kOpenHat = 46, kCrash = 49, kRide = 51,
              kShaker = 70, kTriangle = 81, kHighWood = 76, kLowWood = 77;

// A crash on the first beat of `bar`, marking a new section.
void crash(Score& s, int bar, int beatsPerBar, int velocity) { s.add(bar * beatsPerBar, 2, kDrums, kCrash, velocity); }

}  // namespace

// F major in 3/4, 80 beats a minute, 32 bars: a harp and string bed, a piano tune, a flute that
// joins the second time round. The last four bars lead back into the first.
Score menuMusic() {
    Score s;
    s.tempo = 80;
    s.lengthBeats = 32 * 3;
    s.reverbRoom = 0.75;
    s.reverbLevel = 0.7;
    enum { Piano, Strings, Harp, Bass, Flute };
    s.instruments = {{Piano, 0, 100, 58, 50},
                     {Strings, 49, 78, 70, 70},
                     {Harp, 46, 88, 80, 55},
                     {Bass, 32, 92, 60, 30},
                     {Flute, 73, 84, 44, 60}};
    const Key key{65, kMajor};  // F4
    const std::string_view intro = "F Bb F C";
    const std::string_view a = "F Dm Bb C F Am Bb C";
    const std::string_view a2 = "F Dm Bb C F Am Bb F";
    const std::string_view b = "Dm Bb F C Dm Gm Bb C";
    const std::string_view outro = "F Bb Gm C";
    const std::string_view tuneA =
        "4:1.5 5:.5 4:1 2:2 3:1 3:1 5:1 7:1 6:2 4:1 "
        "4:1.5 5:.5 7:1 6:1 4:1 2:1 3:1.5 2:.5 1:1 1:3";
    const std::string_view tuneA2 =
        "4:1.5 5:.5 4:1 2:2 3:1 3:1 5:1 7:1 6:2 4:1 "
        "4:1.5 5:.5 7:1 6:1 4:1 2:1 1:1 2:1 1:1 0:3";
    const std::string_view tuneB =
        "5:1 7:1 9:1 7:2 5:1 4:1 5:.5 4:.5 2:1 4:3 "
        "5:1 7:1 9:1 8:1.5 7:.5 5:1 3:1 5:1 7:1 6:2 r:1";
    const std::string_view flutePhrase = "7:3 5:3 3:3 4:3";

    int bar = 0;
    for (auto [chordsText, bars] : {std::pair{intro, 4}, {a, 8}, {b, 8}, {a2, 8}, {outro, 4}}) {
        const Span sp = span(bar, 3, chordsText);
        addPad(s, Strings, sp, 60, 3, 52);
        addArpeggio(s, Harp, sp, "0-1-2-3-2-1-", 55, 4, 62);
        addBass(s, Bass, sp, bars == 8 && chordsText == b ? "R-------F---" : "R-----------", 41, 80);
        bar += bars;
    }
    addMelody(s, Piano, key, 4 * 3, tuneA, 84);
    addMelody(s, Piano, key, 12 * 3, tuneB, 82);
    addMelody(s, Piano, key, 20 * 3, tuneA2, 86);
    addMelody(s, Flute, key, 20 * 3, tuneA2, 62, 7);
    addMelody(s, Flute, key, 28 * 3, flutePhrase, 66, 7);
    return s;
}

// E minor, 140 beats a minute, 40 bars: synth bass in eighths, a string ostinato, a rock beat,
// a saw lead; an overdriven guitar thickens the second verse and the bridge.
Score actionMusic() {
    Score s;
    s.tempo = 140;
    s.lengthBeats = 40 * 4;
    s.reverbRoom = 0.45;
    s.reverbLevel = 0.4;
    enum { Lead, Guitar, Strings, Bass, Brass };
    s.instruments = {{Lead, 81, 82, 64, 40, 50},
                     {Guitar, 29, 66, 40, 30},
                     {Strings, 48, 80, 88, 40},
                     {Bass, 38, 100, 64, 10},
                     {Brass, 61, 76, 76, 40}};
    const Key key{64, kMinor};  // E4
    const std::string_view verse = "Em C G D Em C G D";
    const std::string_view bridge = "Am Em C D Am Em B B";
    const std::string_view tuneA =
        "4:.5 4:.5 7:1 6:.5 4:.5 2:1 5:1.5 4:.5 2:1 0:1 2:.5 4:.5 6:1 7:.5 6:.5 4:1 "
        "3:2 1:1 r:1 4:.5 4:.5 7:1 6:.5 4:.5 2:1 5:1.5 4:.5 2:1 0:1 "
        "2:.5 4:.5 6:.5 7:.5 9:1 7:1 8:2 6:1 r:1";
    const std::string_view tuneB =
        "7:1 7:.5 6:.5 7:1 10:1 9:2 7:1 6:1 5:1 7:1 9:1 7:1 8:3 r:1 "
        "7:1 7:.5 6:.5 7:1 10:1 9:1 10:.5 9:.5 7:2 8:2 6#:2 4:3 r:1";
    const std::vector<DrumLine> beat = {
        {kKick, "X.....x.X.x....."}, {kSnare, "....X.......X..g"}, {kClosedHat, "x.o.x.o.x.o.x.o."}};
    const std::vector<DrumLine> drive = {{kKick, "X.....x.X.x...x."},
                                         {kSnare, "....X..g....X.gX"},
                                         {kClosedHat, "xoxoxoxoxoxoxoxo"},
                                         {kOpenHat, "..............o."}};
    const std::vector<DrumLine> halfTime = {
        {kKick, "X.......o......."}, {kSnare, "........X......."}, {kClosedHat, "o.g.o.g.o.g.o.g."}};

    const std::string_view ostinato = "0121012101210121";
    // Intro, verse, verse with guitar, bridge, verse with everything, a breath before the top.
    const Span intro = span(0, 4, "Em C G D");
    addBass(s, Bass, intro, "R.R.R.R.R.R.R.RO", 28, 96);
    addArpeggio(s, Strings, intro, ostinato, 64, 3, 62);
    addDrums(s, 2, 2, 4, beat);
    s.add(3 * 4 + 3, 0.25, kDrums, kSnare, 90);
    s.add(3 * 4 + 3.5, 0.25, kDrums, kSnare, 100);
    s.add(3 * 4 + 3.75, 0.25, kDrums, kSnare, 110);

    for (int part = 0; part < 4; ++part) {
        const int first = 4 + part * 8;
        const bool isBridge = part == 2;
        const Span sp = span(first, 4, isBridge ? bridge : verse);
        addBass(s, Bass, sp, isBridge ? "R.RRR.RRR.RRR.OR" : "R.R.R.R.R.R.R.RO", 28, 100);
        addArpeggio(s, Strings, sp, ostinato, 64, 3, 64);
        addDrums(s, first, 8, 4, part >= 2 ? drive : beat);
        crash(s, first, 4, 100);
        if (part >= 1) addComp(s, Guitar, sp, "x--.x--.x-.x--x.", 52, 3, 78);
        if (part == 3) addComp(s, Brass, sp, "x-......x-.x....", 64, 3, 74);
        if (isBridge)
            addMelody(s, Lead, key, first * 4, tuneB, 96);
        else
            addMelody(s, Lead, key, first * 4, tuneA, 96);
    }
    const Span outro = span(36, 4, "Em C G D");
    addBass(s, Bass, outro, "R.......R.......", 28, 92);
    addArpeggio(s, Strings, outro, ostinato, 64, 3, 60);
    addDrums(s, 36, 4, 4, halfTime);
    crash(s, 36, 4, 90);
    addMelody(s, Brass, key, 36 * 4, "7:4 5:4 4:4 3:2 1:2", 70);
    return s;
}

// D dorian, 100 beats a minute, 32 bars: a marimba ostinato, plucked strings, a clarinet tune
// and wood-block percussion; an oboe answers in the second half.
Score puzzleMusic() {
    Score s;
    s.tempo = 100;
    s.lengthBeats = 32 * 4;
    s.reverbRoom = 0.55;
    s.reverbLevel = 0.55;
    enum { Clarinet, Marimba, Pizzicato, Bass, Oboe, Vibes };
    s.instruments = {{Clarinet, 71, 96, 60, 50}, {Marimba, 12, 90, 44, 40}, {Pizzicato, 45, 80, 90, 40},
                     {Bass, 33, 96, 64, 20},     {Oboe, 68, 82, 76, 50},    {Vibes, 11, 70, 30, 60}};
    const Key key{62, kDorian};  // D4
    const std::string_view a = "Dm7 G Dm7 G Fmaj7 C Em7 Am7";
    const std::string_view b = "Bbmaj7 C Am7 Dm7 Bbmaj7 C Em7 A7";
    const std::string_view tuneA =
        "4:1 3:.5 2:.5 0:1 2:1 3:1.5 5:.5 4:1 r:1 4:1 3:.5 2:.5 0:1 2:.5 4:.5 6:2 5:1 r:1 "
        "6:1 4:.5 2:.5 4:1 6:1 8:1.5 7:.5 6:2 5:1 4:.5 3:.5 1:1 3:1 4:3 r:1";
    const std::string_view tuneB =
        "2:1 4:1 7:1 9:1 8:2 7:1 6:1 4:1 6:1 8:1 6:1 7:3 r:1 "
        "2:1 4:1 7:1 9:1 10:2 8:1 6:1 5:1.5 3:.5 1:2 4:1 6#:1 8:1 r:1";
    const std::vector<DrumLine> light = {
        {kKick, "X.......x......."}, {kClosedHat, "..o...o...o...o."}, {kShaker, "gogogogogogogogo"}};
    const std::vector<DrumLine> fuller = {{kKick, "X.....x.x......."},      {kSideStick, "....x.......x..."},
                                          {kClosedHat, "..o...o...o...o."}, {kShaker, "gogogogogogogogo"},
                                          {kHighWood, "..........o..o.."},  {kLowWood, "...............o"}};
    const std::string_view marimba = "0213021302130213";

    const Span intro = span(0, 4, "Dm7 G Dm7 G");
    addArpeggio(s, Marimba, intro, marimba, 62, 4, 70);
    addBass(s, Bass, intro, "R.......R...F...", 38, 84);
    addDrums(s, 2, 2, 4, light);

    const Span first = span(4, 4, a);
    addArpeggio(s, Marimba, first, marimba, 62, 4, 66);
    addBass(s, Bass, first, "R.....R.F...R...", 38, 88);
    addDrums(s, 4, 8, 4, light);
    addMelody(s, Clarinet, key, 4 * 4, tuneA, 92);

    const Span second = span(12, 4, a);
    addArpeggio(s, Marimba, second, marimba, 62, 4, 66);
    addBass(s, Bass, second, "R.....R.F...R...", 38, 90);
    addComp(s, Pizzicato, second, "..x...x...x..xx.", 60, 3, 70);
    addDrums(s, 12, 8, 4, fuller);
    addMelody(s, Clarinet, key, 12 * 4, tuneA, 92);
    addMelody(s, Vibes, key, 12 * 4, tuneA, 60, 7);

    const Span bridge = span(20, 4, b);
    addArpeggio(s, Marimba, bridge, "0213021302130213", 62, 4, 62);
    addPad(s, Vibes, bridge, 64, 3, 42);
    addBass(s, Bass, bridge, "R.....R.F...O...", 38, 90);
    addComp(s, Pizzicato, bridge, "x...x...x...x...", 55, 3, 66);
    addDrums(s, 20, 8, 4, fuller);
    addMelody(s, Oboe, key, 20 * 4, tuneB, 90);

    const Span outro = span(28, 4, "Dm7 G Dm7 G");
    addArpeggio(s, Marimba, outro, marimba, 62, 4, 64);
    addBass(s, Bass, outro, "R.......R...F...", 38, 84);
    addDrums(s, 28, 4, 4, light);
    addMelody(s, Clarinet, key, 28 * 4, "4:2 3:1 2:1 3:3 r:1 4:2 5:1 6:1 5:4", 76);
    return s;
}

// A minor, 84 beats a minute, 24 bars: warm pads and a choir, a vibraphone arpeggio, a celesta
// tune high above, a slow synth bass and a soft, sparse beat.
Score spaceMusic() {
    Score s;
    s.tempo = 84;
    s.lengthBeats = 24 * 4;
    s.reverbRoom = 0.92;
    s.reverbLevel = 0.85;
    enum { Celesta, Pad, Choir, Vibes, Bass, Sweep };
    s.instruments = {{Celesta, 8, 96, 70, 90, 40}, {Pad, 89, 80, 50, 80, 60}, {Choir, 91, 60, 80, 90, 40},
                     {Vibes, 11, 76, 40, 90, 30},  {Bass, 39, 90, 64, 30},    {Sweep, 95, 52, 64, 100}};
    const Key key{69, kMinor};  // A4
    const std::string_view a = "Am7 Fmaj7 Cmaj7 G";
    const std::string_view b = "Fmaj7 G Em7 Am7";
    const std::string_view tuneA = "4:2 6:1 7:1 9:3 7:1 8:2 6:2 6:3 r:1";
    const std::string_view tuneA2 = "4:2 6:1 7:1 9:2 11:1 9:1 8:2 9:1 8:1 6:4";
    const std::string_view tuneB = "9:1 8:1 7:2 6:1 8:1 10:2 11:3 10:1 7:4";
    const std::vector<DrumLine> soft = {{kKick, "X.........x....."}, {kClap, "........o......."}, {kRide, "o.g.o.g.o.g.o.g."}};
    const std::vector<DrumLine> sparse = {{kRide, "o...g...o...g..."}, {kTriangle, "........g......."}};

    const std::string_view arp = "0.2.1.3.2.4.3.1.";
    const std::string_view sections[] = {a, a, a, b, a, a};
    for (int part = 0; part < 6; ++part) {
        const Span sp = span(part * 4, 4, sections[part]);
        addPad(s, Pad, sp, 60, 4, 58);
        addArpeggio(s, Vibes, sp, arp, 67, 5, 58);
        addBass(s, Bass, sp, "R-------------F-", 33, 80);
        if (part >= 1 && part <= 4) addPad(s, Choir, sp, 67, 3, 46);
        addDrums(s, part * 4, 4, 4, part == 0 || part == 5 ? sparse : soft);
    }
    s.add(0, 8, Sweep, 57, 50);
    s.add(20 * 4, 8, Sweep, 52, 50);
    addMelody(s, Celesta, key, 4 * 4, tuneA, 92);
    addMelody(s, Celesta, key, 8 * 4, tuneA2, 92);
    addMelody(s, Celesta, key, 12 * 4, tuneB, 94);
    addMelody(s, Celesta, key, 16 * 4, tuneA2, 92);
    return s;
}

// C minor, 92 beats a minute, 28 bars: a horn theme over strings, cellos and timpani, with a
// marching snare; trumpets take the theme the last time.
Score strategyMusic() {
    Score s;
    s.tempo = 92;
    s.lengthBeats = 28 * 4;
    s.reverbRoom = 0.7;
    s.reverbLevel = 0.6;
    enum { Horn, Strings, Cello, Timpani, Trumpet, Oboe };
    s.instruments = {{Horn, 60, 100, 54, 60},   {Strings, 48, 82, 76, 60}, {Cello, 42, 94, 60, 40},
                     {Timpani, 47, 92, 64, 50}, {Trumpet, 56, 86, 70, 50}, {Oboe, 68, 78, 84, 50}};
    const Key key{60, kMinor};  // C4
    const std::string_view a = "Cm Ab Eb Bb Cm Fm G G";
    const std::string_view b = "Ab Bb Eb Cm Ab Fm G G";
    const std::string_view tuneA =
        "4:1.5 4:.5 7:1 4:1 5:1.5 4:.5 2:2 4:1 6:1 7:.5 6:.5 4:1 3:3 r:1 "
        "4:1.5 4:.5 7:1 9:1 10:1.5 9:.5 7:2 6#:1.5 7:.5 8:2 4:3 r:1";
    const std::string_view tuneB =
        "7:2 5:1 7:1 8:2 6:1 3:1 9:1 8:.5 7:.5 6:1 4:1 7:3 r:1 "
        "7:1 9:1 12:2 10:2 7:1 5:1 8:2 6#:2 4:4";
    const std::vector<DrumLine> march = {{kSnare, "X..gx.g.X..gx.gg"}, {kKick, "X.......X......."}};
    const std::vector<DrumLine> roll = {{kSnare, "gggggggggggoooxX"}};

    const Span intro = span(0, 4, "Cm Ab Bb G");
    addPad(s, Strings, intro, 60, 3, 60);
    addBass(s, Cello, intro, "R-----R.R-----F.", 36, 86);
    addBass(s, Timpani, intro, "R...........F.R.", 36, 86);
    addDrums(s, 0, 3, 4, march);
    addDrums(s, 3, 1, 4, roll);

    auto section = [&](int first, std::string_view progression, std::string_view tune, bool climax) {
        const Span sp = span(first, 4, progression);
        addComp(s, Strings, sp, climax ? "x-.xx-.xx-.xx-.x" : "x-------x---x---", 60, 3, climax ? 68 : 60);
        addBass(s, Cello, sp, "R-.RR-.RR-.RF-.R", 36, 90);
        addBass(s, Timpani, sp, "R.......F.......", 36, climax ? 96 : 84);
        addDrums(s, first, 8, 4, march);
        crash(s, first, 4, climax ? 100 : 80);
        addMelody(s, Horn, key, first * 4, tune, 98);
        if (climax) addMelody(s, Trumpet, key, first * 4, tune, 86);
    };
    section(4, a, tuneA, false);
    section(12, b, tuneB, false);
    addMelody(s, Oboe, key, 12 * 4, "4:4 3:4 2:4 4:4 5:4 5:4 6#:4 4:4", 70, 7);
    section(20, a, tuneA, true);
    return s;
}

// C major, two and a half seconds: a rising trumpet call over brass chords, timpani and a cymbal.
Score levelJingle() {
    Score s;
    s.tempo = 120;
    s.lengthBeats = 6;
    s.tailSeconds = 2.5;
    s.reverbRoom = 0.7;
    s.reverbLevel = 0.55;
    enum { Trumpet, Brass, Strings, Timpani };
    s.instruments = {{Trumpet, 56, 110, 64, 50}, {Brass, 61, 96, 54, 50}, {Strings, 48, 90, 80, 60}, {Timpani, 47, 100, 64, 40}};
    const Key key{60, kMajor};
    addMelody(s, Trumpet, key, 0, "4:.333 7:.333 9:.334 11:1 12:.5 13:.5 14:3", 112);
    auto chordAt = [&](double beat, double length, std::initializer_list<int> keys, int velocity) {
        for (int k : keys) s.add(beat, length, Brass, k, velocity);
    };
    chordAt(0, 1, {60, 64, 67}, 90);
    chordAt(1, 1, {64, 67, 72}, 94);
    chordAt(2, .5, {65, 69, 72}, 96);
    chordAt(2.5, .5, {67, 71, 74}, 100);
    chordAt(3, 3, {67, 72, 76}, 106);
    for (int k : {72, 76, 79}) s.add(3, 3, Strings, k, 88);
    s.add(0, .5, Timpani, 43, 96);
    for (int i = 0; i < 8; ++i) s.add(2 + i * 0.125, 0.125, Timpani, 43, 70 + i * 4);
    s.add(3, 1, Timpani, 48, 118);
    s.add(3, 3, kDrums, kCrash, 108);
    return s;
}

}  // namespace sfx
