// The synthesizer's instruments: tuned notes built from partials (struck like a mallet or a
// bell, or held like brass, a soft pad or a buzz), and bursts of band-passed noise for the
// sounds of cards, chips and furniture.
#pragma once

#include "wave.h"

#include <cstdint>
#include <vector>

// Raised-cosine ramps over a span of seconds: rise goes from 0 at its start to 1 at its end,
// fall the other way; before and after the span they hold their end values.
double rise(double elapsed, double span);
double fall(double elapsed, double span);

// The frequency of a note by its MIDI number: 60 is middle C, 69 the A at 440 Hz.
double pitch(int midiNote);

struct Partial {
    double ratio;      // frequency as a multiple of the note's
    double level;
    double decayRate;  // how many times faster than the fundamental it dies away
};

struct Timbre {
    std::vector<Partial> partials;
    double attack;     // seconds to full level
    double decay;      // seconds for a struck note to fall to about a third; 0 holds it
    double release;    // seconds of fade once the note's length is over
    double vibrato;    // depth as a fraction of the frequency
};

Timbre mallet();      // warm, wooden, struck
Timbre bell();        // glassy and ringing, struck
Timbre softMallet();  // rounder than the mallet, for gentle phrases
Timbre brass();       // bright and held, for fanfares
Timbre mutedBrass();  // dark and held, for a sad trombone
Timbre pad();         // soft and held, for chords under a melody
Timbre buzz();        // odd harmonics only, held

struct Note {
    double start;         // seconds from the start of the sound
    double frequency;     // hertz
    double length;        // seconds before the release begins
    double level;
    double glide = 1.0;   // how far the pitch has bent by the end of the note (0.97: a little down)
};

// Adds the note, in that timbre, into the sound.
void play(Sound& sound, const Timbre& timbre, const Note& note);

// White noise from a small generator of its own, so that every build writes the same files.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    double next();                            // -1 to 1
    double between(double low, double high);  // uniform

private:
    std::uint32_t state_;
};

// A second-order band-pass filter with unit gain at its centre.
class BandPass {
public:
    BandPass(double centre, double resonance);
    // Moves the band without losing the filter's state, for sweeps.
    void tune(double centre, double resonance);
    double filter(double input);

private:
    double b0_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double input1_ = 0, input2_ = 0, output1_ = 0, output2_ = 0;
};

struct NoiseBurst {
    double start;      // seconds from the start of the sound
    double centre;     // hertz: the middle of the band of noise kept
    double resonance;  // higher keeps a narrower band
    double attack;     // seconds to full level
    double decay;      // seconds to fall to about a third
    double level;
};

// Adds a short burst of filtered noise: a snap, a knock or a click.
void strike(Sound& sound, Noise& noise, const NoiseBurst& burst);
