// SPDX-FileCopyrightText: 2026 The Vorpy developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Music and effects from a handful of instruments: each note is a few partials
// under an envelope; the music goes through a small room reverb. Everything is
// computed from fixed numbers and a fixed-seed noise source, so every run gives
// the same samples.
#include "music.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "art.h"

namespace assetgen {

namespace {

constexpr double two_pi = 2 * std::numbers::pi;
constexpr double rate = sample_rate;

double midi_hz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

// Stereo samples being mixed.
struct Track {
    std::vector<float> left, right;
    explicit Track(double seconds)
        : left(static_cast<std::size_t>(seconds * rate)), right(left.size()) {}
    std::size_t size() const { return left.size(); }
    void add(std::size_t i, double value, double pan) {
        if (i >= left.size()) return;
        // Equal-power panning, pan -1 (left) .. 1 (right).
        const double angle = (pan + 1) * std::numbers::pi / 4;
        left[i] += static_cast<float>(value * std::cos(angle));
        right[i] += static_cast<float>(value * std::sin(angle));
    }
};

enum class Instrument { MUSIC_BOX, BELL, PAD, BASS, LEAD, FLUTE };

struct Partial {
    double ratio, amplitude, decay;  // decay: seconds to fall by e (0 = none)
};

// One note: start and length in seconds, pitch as a MIDI number.
void note(Track& track, double start, double length, double pitch, double amplitude,
          Instrument instrument, double pan = 0) {
    const double f = midi_hz(pitch);
    double attack = 0.005, release = 0.1, tail = 0;
    std::vector<Partial> partials;
    double vibrato = 0;
    switch (instrument) {
        case Instrument::MUSIC_BOX:
            partials = {{1, 1, 0.5}, {2.005, 0.3, 0.25}, {3, 0.1, 0.15}, {4.2, 0.05, 0.08}};
            attack = 0.002;
            tail = 1.6;
            break;
        case Instrument::BELL:
            partials = {{0.5, 0.3, 1.6}, {1, 1, 1.2},       {1.19, 0.35, 0.9}, {1.5, 0.25, 0.8},
                        {2, 0.45, 0.6},  {2.74, 0.2, 0.35}, {3.0, 0.15, 0.3},  {4.07, 0.08, 0.2}};
            attack = 0.002;
            tail = 2.6;
            break;
        case Instrument::PAD:
            partials = {{1, 1, 0}, {1.0025, 0.8, 0}, {2, 0.22, 0}, {3, 0.08, 0}};
            attack = 0.45;
            release = 0.9;
            break;
        case Instrument::BASS:
            partials = {{1, 1, 0.9}, {2, 0.25, 0.5}, {3, 0.06, 0.3}};
            attack = 0.01;
            release = 0.12;
            break;
        case Instrument::LEAD:
            partials = {{1, 1, 0}, {3, 0.28, 0}, {5, 0.12, 0}, {7, 0.05, 0}};
            attack = 0.015;
            release = 0.09;
            vibrato = 0.004;
            break;
        case Instrument::FLUTE:
            partials = {{1, 1, 0}, {2, 0.12, 0}, {3, 0.04, 0}};
            attack = 0.06;
            release = 0.2;
            vibrato = 0.003;
            break;
    }
    const double total = tail > 0 ? tail : length + release;
    const auto first = static_cast<std::size_t>(start * rate);
    const auto count = static_cast<std::size_t>(total * rate);
    for (std::size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / rate;
        double envelope = std::min(1.0, t / attack);
        if (tail == 0) {
            if (t > length) envelope *= std::max(0.0, 1 - (t - length) / release);
        } else {
            envelope *= std::min(1.0, (total - t) / 0.05);  // end the ring without a click
        }
        const double wobble = vibrato * std::sin(two_pi * 5.2 * t) * std::min(1.0, t / 0.25);
        double value = 0;
        for (const Partial& p : partials) {
            if (p.ratio * f * (1 + wobble) >= rate / 2) continue;
            const double decay = p.decay > 0 ? std::exp(-t / p.decay) : 1.0;
            value += p.amplitude * decay * std::sin(two_pi * p.ratio * f * t * (1 + wobble));
        }
        track.add(first + n, amplitude * envelope * value, pan);
    }
}

// A band-pass filter with 0 dB at its centre (a second-order section).
class BandPass {
  public:
    void tune(double centre, double q) {
        const double w = two_pi * centre / rate, alpha = std::sin(w) / (2 * q);
        const double a0 = 1 + alpha;
        b0_ = alpha / a0;
        b2_ = -alpha / a0;
        a1_ = -2 * std::cos(w) / a0;
        a2_ = (1 - alpha) / a0;
    }
    double step(double x) {
        const double y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

  private:
    double b0_ = 0, b2_ = 0, a1_ = 0, a2_ = 0, x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A small room: four damped feedback delays in parallel, then two all-pass delays.
class Room {
  public:
    explicit Room(double spread) {
        for (double ms : {29.7, 37.1, 41.1, 43.7})
            combs_.push_back(
                {std::vector<double>(static_cast<std::size_t>((ms + spread) * rate / 1000)), 0, 0});
        for (double ms : {5.0, 1.7})
            passes_.push_back(
                {std::vector<double>(static_cast<std::size_t>((ms + spread / 3) * rate / 1000)), 0,
                 0});
    }
    double step(double x) {
        double out = 0;
        for (Delay& d : combs_) {
            const double y = d.line[d.pos];
            d.state = y * 0.7 + d.state * 0.3;  // high tones die away sooner
            d.line[d.pos] = x + d.state * 0.8;
            d.pos = (d.pos + 1) % d.line.size();
            out += y;
        }
        out *= 0.25;
        for (Delay& d : passes_) {
            const double delayed = d.line[d.pos];
            const double y = -0.7 * out + delayed;
            d.line[d.pos] = out + 0.7 * y;
            d.pos = (d.pos + 1) % d.line.size();
            out = y;
        }
        return out;
    }

  private:
    struct Delay {
        std::vector<double> line;
        std::size_t pos;
        double state;
    };
    std::vector<Delay> combs_, passes_;
};

void reverberate(Track& track, double wet) {
    Room left(0), right(1.3);
    for (std::size_t i = 0; i < track.size(); ++i) {
        const double l = track.left[i], r = track.right[i];
        track.left[i] = static_cast<float>(l + wet * left.step(l));
        track.right[i] = static_cast<float>(r + wet * right.step(r));
    }
}

// The track as interleaved stereo samples, its loudest sample at peak.
Sound finish_stereo(const Track& track, std::size_t first, std::size_t count, double peak) {
    float loudest = 1e-6f;
    for (std::size_t i = first; i < first + count; ++i)
        loudest = std::max({loudest, std::fabs(track.left[i]), std::fabs(track.right[i])});
    const float gain = static_cast<float>(peak) / loudest;
    Sound sound;
    sound.rate = sample_rate;
    sound.channels = 2;
    sound.samples.reserve(count * 2);
    for (std::size_t i = first; i < first + count; ++i) {
        sound.samples.push_back(track.left[i] * gain);
        sound.samples.push_back(track.right[i] * gain);
    }
    return sound;
}

Sound finish_mono(const std::vector<double>& samples, double peak) {
    double loudest = 1e-9;
    for (double s : samples)
        loudest = std::max(loudest, std::fabs(s));
    Sound sound;
    sound.rate = sample_rate;
    sound.channels = 1;
    for (double s : samples)
        sound.samples.push_back(static_cast<float>(s * peak / loudest));
    return sound;
}

// Fades the last seconds of a track to silence.
void fade_out(Track& track, double seconds) {
    const auto n = static_cast<std::size_t>(seconds * rate);
    for (std::size_t i = 0; i < n && i < track.size(); ++i) {
        const std::size_t at = track.size() - 1 - i;
        const auto gain = static_cast<float>(static_cast<double>(i) / static_cast<double>(n));
        track.left[at] *= gain;
        track.right[at] *= gain;
    }
}

struct Chord {
    int root;          // MIDI number of the root in the bass octave
    int third, fifth;  // semitones above the root
};
const Chord C{36, 4, 7}, Am{45, 3, 7}, F{41, 4, 7}, G{43, 4, 7}, Dm{38, 3, 7};

struct MelodyNote {
    double beat, beats;
    int pitch;
};

// The chords as a pad, a bass and an arpeggio of eighths, one chord per bar.
void accompany(Track& track, double start, double beat, const std::vector<Chord>& chords,
               double box_level) {
    for (std::size_t bar = 0; bar < chords.size(); ++bar) {
        const Chord& c = chords[bar];
        const double t = start + static_cast<double>(bar) * 4 * beat;
        for (int tone : {0, c.third, c.fifth})
            note(track, t, 4 * beat, c.root + 24 + tone, 0.05, Instrument::PAD,
                 tone == 0 ? -0.4 : 0.4);
        note(track, t, 1.8 * beat, c.root, 0.32, Instrument::BASS, 0);
        note(track, t + 2 * beat, 1.8 * beat, c.root + (c.fifth == 7 ? 7 : 0), 0.26,
             Instrument::BASS, 0);
        const int tones[] = {0, c.third, c.fifth, 12, c.fifth, c.third, 12 + c.third, c.fifth};
        for (int i = 0; i < 8; ++i)
            note(track, t + i * beat / 2, beat / 2, c.root + 36 + tones[i], box_level,
                 Instrument::MUSIC_BOX, i % 2 == 0 ? -0.35 : 0.35);
    }
}

void melody(Track& track, double start, double beat, const std::vector<MelodyNote>& notes,
            double level, Instrument instrument) {
    for (const MelodyNote& m : notes)
        note(track, start + m.beat * beat, m.beats * beat * 0.95, m.pitch, level, instrument, 0.1);
}

}  // namespace

Sound menu_music() {
    // 96 beats a minute, twelve bars of four: exactly 30 s. The piece is played twice
    // and the second time kept, so the tails of the last bars (and the reverb) run on
    // into the first bars as they do when the loop starts over.
    const double beat = 60.0 / 96.0, cycle = 48 * beat;
    const std::vector<Chord> chords{C, Am, F, G, C, Am, F, G, Am, F, Dm, G};
    const std::vector<MelodyNote> tune{
        {0, 1.5, 76},    {1.5, 0.5, 74}, {2, 1, 72},      {3, 1, 67},  {4, 1.5, 69},
        {5.5, 0.5, 72},  {6, 2, 76},     {8, 1, 77},      {9, 1, 76},  {10, 1, 72},
        {11, 1, 69},     {12, 2, 67},    {14, 1, 71},     {15, 1, 74}, {16, 1, 76},
        {17, 1, 79},     {18, 0.5, 76},  {18.5, 0.5, 74}, {19, 1, 72}, {20, 1.5, 76},
        {21.5, 0.5, 72}, {22, 2, 69},    {24, 1, 69},     {25, 1, 72}, {26, 1, 77},
        {27, 1, 76},     {28, 3, 74},    {32, 1, 72},     {33, 1, 76}, {34, 2, 81},
        {36, 1, 79},     {37, 1, 77},    {38, 1, 76},     {39, 1, 72}, {40, 1, 74},
        {41, 1, 77},     {42, 1, 81},    {43, 1, 77},     {44, 2, 79}, {46, 0.5, 77},
        {46.5, 0.5, 76}, {47, 1, 74}};
    Track track(2 * cycle);
    for (int pass = 0; pass < 2; ++pass) {
        accompany(track, pass * cycle, beat, chords, 0.07);
        melody(track, pass * cycle, beat, tune, 0.16, Instrument::FLUTE);
    }
    reverberate(track, 0.3);
    const auto length = static_cast<std::size_t>(cycle * rate);
    return finish_stereo(track, length, length, 0.85);
}

Sound intro_music() {
    const double beat = 60.0 / 72.0;
    Track track(16.0);
    const std::vector<Chord> chords{C, F, G, C};
    for (std::size_t bar = 0; bar < 3; ++bar) {
        const Chord& c = chords[bar];
        const double t = static_cast<double>(bar) * 4 * beat;
        for (int tone : {0, c.third, c.fifth})
            note(track, t, 4 * beat, c.root + 24 + tone, 0.06, Instrument::PAD,
                 tone == 0 ? -0.4 : 0.4);
        note(track, t, 3.8 * beat, c.root, 0.3, Instrument::BASS);
        // A rising arpeggio of the chord over two octaves.
        const int tones[] = {0, c.third, c.fifth, 12, 12 + c.third, 12 + c.fifth, 24, 12 + c.fifth};
        for (int i = 0; i < 8; ++i)
            note(track, t + i * beat / 2, beat / 2, c.root + 36 + tones[i], 0.09,
                 Instrument::MUSIC_BOX, -0.5 + i * 0.14);
    }
    melody(
        track, 0, beat,
        {{4, 1.5, 81}, {5.5, 0.5, 79}, {6, 1, 77}, {7, 1, 76}, {8, 1, 74}, {9, 1, 76}, {10, 2, 79}},
        0.15, Instrument::FLUTE);
    // The last chord rings out on bells over a long pad.
    const double last = 12 * beat;
    for (int tone : {0, 4, 7, 12})
        note(track, last, 5, 72 + tone, 0.09, Instrument::BELL, tone * 0.06 - 0.3);
    for (int tone : {0, 4, 7})
        note(track, last, 4.5, 48 + tone, 0.06, Instrument::PAD);
    note(track, last, 4.5, 36, 0.3, Instrument::BASS);
    reverberate(track, 0.35);
    fade_out(track, 1.5);
    return finish_stereo(track, 0, track.size(), 0.85);
}

Sound bells_sound() {
    Track track(2.6);
    const double strikes[][2] = {{0.0, 79}, {0.2, 76}, {0.4, 72}, {0.6, 67}};
    for (const auto& s : strikes)
        note(track, s[0], 2, s[1], 0.25, Instrument::BELL, (s[1] - 73) / 12);
    note(track, 0.85, 2, 72, 0.2, Instrument::BELL, -0.2);
    note(track, 0.85, 2, 84, 0.12, Instrument::BELL, 0.2);
    reverberate(track, 0.3);
    fade_out(track, 0.4);
    return finish_stereo(track, 0, track.size(), 0.8);
}

Sound jingle() {
    const double beat = 60.0 / 150.0;
    Track track(3.6);
    melody(track, 0, beat,
           {{0, 0.5, 67},
            {0.5, 0.5, 64},
            {1, 0.5, 67},
            {1.5, 1, 72},
            {2.5, 0.5, 71},
            {3, 0.5, 67},
            {3.5, 0.5, 69},
            {4, 0.5, 71},
            {4.5, 2.5, 72}},
           0.2, Instrument::LEAD);
    for (const auto& [beat_at, root] :
         {std::pair{0.0, 48}, std::pair{2.5, 43}, std::pair{4.5, 48}}) {
        note(track, beat_at * beat, 1.5 * beat, root - 12, 0.35, Instrument::BASS);
        for (int tone : {12, 16, 19})
            note(track, beat_at * beat, 0.3, root + tone, 0.06, Instrument::MUSIC_BOX, 0.3);
    }
    // A light shaker on the off-beats.
    Random noise(91);
    BandPass shaker;
    shaker.tune(7000, 1.2);
    for (int i = 0; i < 9; ++i) {
        const auto first = static_cast<std::size_t>((0.5 * i + 0.25) * beat * rate);
        for (std::size_t n = 0; n < static_cast<std::size_t>(0.06 * rate); ++n) {
            const double t = static_cast<double>(n) / rate;
            const double v = shaker.step(noise.uniform(-1, 1)) * std::exp(-t / 0.015) * 0.25;
            track.add(first + n, v, 0.5);
        }
    }
    reverberate(track, 0.25);
    fade_out(track, 0.3);
    return finish_stereo(track, 0, track.size(), 0.85);
}

std::vector<Sound> effect_sounds() {
    const auto seconds = [](double s) {
        return std::vector<double>(static_cast<std::size_t>(s * rate));
    };
    const auto mono = [](const Track& t) {
        std::vector<double> out(t.size());
        for (std::size_t i = 0; i < t.size(); ++i)
            out[i] = t.left[i] + t.right[i];
        return out;
    };
    std::vector<Sound> sounds;

    {  // DELETE_OK: two bright plinks, a fifth apart.
        Track t(0.45);
        note(t, 0, 0.2, 88, 0.5, Instrument::MUSIC_BOX);
        note(t, 0.07, 0.2, 95, 0.45, Instrument::MUSIC_BOX);
        std::vector<double> s = mono(t);
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] *= std::min(1.0, static_cast<double>(s.size() - i) / (0.1 * rate));
        sounds.push_back(finish_mono(s, 0.8));
    }
    {  // DELETE_NO: a soft "uh-oh", down a fourth.
        Track t(0.36);
        note(t, 0, 0.09, 67, 0.4, Instrument::LEAD);
        note(t, 0.12, 0.13, 62, 0.4, Instrument::LEAD);
        sounds.push_back(finish_mono(mono(t), 0.7));
    }
    {  // RESHUFFLE: a quick run up the pentatonic scale over a swish of noise.
        Track t(0.8);
        const int run[] = {72, 74, 76, 79, 81, 84, 86, 88, 91, 93};
        for (int i = 0; i < 10; ++i)
            note(t, 0.04 * i, 0.05, run[i], 0.22, Instrument::MUSIC_BOX);
        std::vector<double> s = mono(t);
        Random noise(17);
        BandPass swish;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const double x = static_cast<double>(i) / static_cast<double>(s.size());
            swish.tune(600 * std::pow(6.0, x), 2.0);
            s[i] += swish.step(noise.uniform(-1, 1)) * 0.5 * std::sin(std::numbers::pi * x);
        }
        sounds.push_back(finish_mono(s, 0.7));
    }
    {  // VZDOH: a sigh, breath through an open "a" whose voice sinks and fades.
        std::vector<double> s = seconds(1.5);
        Random noise(29);
        BandPass formants[3];
        const double centres[] = {780, 1180, 2500}, gains[] = {1, 0.6, 0.25};
        double phase = 0, breath = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const double t = static_cast<double>(i) / rate;
            breath += 0.45 * (noise.uniform(-1, 1) - breath);  // soften the hiss
            const double envelope =
                std::min(1.0, t / 0.18) * std::exp(-std::max(0.0, t - 0.25) / 0.45);
            const double pitch = 200 * std::pow(0.62, t / 1.5);
            phase += two_pi * pitch / rate;
            // A soft buzz of the voice: a few harmonics, fading faster than the breath.
            double voice = 0;
            for (int h = 1; h <= 6; ++h)
                voice += std::sin(h * phase) / h;
            const double source = 0.9 * breath + 0.35 * voice * std::exp(-t / 0.5);
            double out = 0;
            for (int f = 0; f < 3; ++f) {
                formants[f].tune(centres[f] * (1 - 0.12 * t / 1.5), 5);
                out += gains[f] * formants[f].step(source);
            }
            s[i] = out * envelope;
        }
        sounds.push_back(finish_mono(s, 0.75));
    }
    {  // MENU_GO: a short rising "bloop".
        std::vector<double> s = seconds(0.18);
        double phase = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const double t = static_cast<double>(i) / rate;
            phase += two_pi * (520 + 360 * std::min(1.0, t / 0.08)) / rate;
            const double envelope = std::min(1.0, t / 0.005) * std::exp(-t / 0.05);
            s[i] = envelope * (std::sin(phase) + 0.2 * std::sin(2 * phase));
        }
        sounds.push_back(finish_mono(s, 0.6));
    }
    return sounds;
}

}  // namespace assetgen
