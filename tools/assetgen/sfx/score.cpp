#include "score.hpp"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace sfx {

namespace {

struct Event {
    size_t frame;
    int order;  // note-offs before controls before note-ons at the same frame
    enum Kind { Off, BendTo, On } kind;
    int channel;
    int key;
    int value;
};

// One synthesiser per render, so a sound never depends on what was rendered before it.
class Synth {
  public:
    Synth(const std::string& soundfont, const Score& score) {
        settings_ = new_fluid_settings();
        fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
        fluid_settings_setint(settings_, "synth.polyphony", 256);
        fluid_settings_setint(settings_, "synth.cpu-cores", 1);
        fluid_settings_setnum(settings_, "synth.gain", score.gain);
        fluid_settings_setint(settings_, "synth.reverb.active", 1);
        fluid_settings_setint(settings_, "synth.chorus.active", 1);
        fluid_settings_setnum(settings_, "synth.reverb.room-size", score.reverbRoom);
        fluid_settings_setnum(settings_, "synth.reverb.level", score.reverbLevel);
        fluid_settings_setnum(settings_, "synth.reverb.damp", 0.4);
        fluid_settings_setnum(settings_, "synth.reverb.width", 0.8);
        synth_ = new_fluid_synth(settings_);
        if (!synth_ || fluid_synth_sfload(synth_, soundfont.c_str(), 1) == FLUID_FAILED)
            throw std::runtime_error("cannot load the SoundFont " + soundfont);
        for (const Instrument& in : score.instruments) {
            if (in.channel != kDrums) fluid_synth_program_change(synth_, in.channel, in.program);
            fluid_synth_cc(synth_, in.channel, 7, in.volume);
            fluid_synth_cc(synth_, in.channel, 10, in.pan);
            fluid_synth_cc(synth_, in.channel, 91, in.reverb);
            fluid_synth_cc(synth_, in.channel, 93, in.chorus);
        }
    }
    ~Synth() {
        if (synth_) delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;

    void apply(const Event& e) {
        switch (e.kind) {
            case Event::On: fluid_synth_noteon(synth_, e.channel, e.key, e.value); break;
            case Event::Off: fluid_synth_noteoff(synth_, e.channel, e.key); break;
            case Event::BendTo: fluid_synth_pitch_bend(synth_, e.channel, e.value); break;
        }
    }

    void render(Audio& out, size_t from, size_t to) {
        if (to <= from) return;
        const int n = static_cast<int>(to - from);
        fluid_synth_write_float(synth_, n, out.samples.data(), static_cast<int>(2 * from), 2, out.samples.data(),
                                static_cast<int>(2 * from + 1), 2);
    }

  private:
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
};

std::vector<Event> eventsOf(const Score& score) {
    std::vector<Event> events;
    auto frameAt = [&](double beat) { return framesFor(score.seconds(beat)); };
    for (const Note& n : score.notes) {
        const int key = std::clamp(n.key, 0, 127);
        const int velocity = std::clamp(n.velocity, 1, 127);
        const size_t on = frameAt(n.beat);
        // A note always sounds for at least a few milliseconds, so a zero length cannot cancel it.
        const size_t off = std::max(on + framesFor(0.01), frameAt(n.beat + n.length));
        events.push_back({on, 2, Event::On, n.channel, key, velocity});
        events.push_back({off, 0, Event::Off, n.channel, key, 0});
    }
    for (const Bend& b : score.bends)
        events.push_back({frameAt(b.beat), 1, Event::BendTo, b.channel, 0, std::clamp(b.value, 0, 16383)});
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.frame != b.frame ? a.frame < b.frame : a.order < b.order; });
    return events;
}

}  // namespace

Audio renderScore(const Score& score, const std::string& soundfont, Ending ending) {
    Synth synth(soundfont, score);
    const size_t body = framesFor(score.seconds(score.lengthBeats));
    const size_t total = body + framesFor(score.tailSeconds);
    Audio out = Audio::silence(2, static_cast<double>(total) / kRate);

    size_t at = 0;
    for (const Event& e : eventsOf(score)) {
        const size_t frame = std::min(e.frame, total);
        synth.render(out, at, frame);
        at = frame;
        synth.apply(e);
    }
    synth.render(out, at, total);

    if (ending == Ending::Loop) {
        // What still rings after the loop's end sounds again over its beginning.
        for (size_t f = body; f < total; ++f)
            for (int c = 0; c < 2; ++c) out.at((f - body) % body, c) += out.at(f, c);
        out.samples.resize(body * 2);
    }
    return out;
}

}  // namespace sfx
