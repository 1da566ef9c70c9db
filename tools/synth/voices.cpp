#include "voices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kVibratoHertz = 5.5;
constexpr double kVibratoOnset = 0.15;  // seconds for the vibrato to grow to its depth
// Partials above this are left out: they would fold back below the Nyquist frequency.
constexpr double kHighestPartial = 18000.0;
// A burst below this share of its level is over.
constexpr double kSilentShare = 0.001;

std::vector<Partial> harmonics(int count, double tilt)
{
    std::vector<Partial> partials;
    for (int harmonic = 1; harmonic <= count; ++harmonic)
        partials.push_back({static_cast<double>(harmonic), std::pow(harmonic, -tilt), 1.0});
    return partials;
}

} // namespace

double rise(double elapsed, double span)
{
    if (elapsed >= span)
        return 1.0;
    if (elapsed <= 0.0)
        return 0.0;
    return 0.5 - 0.5 * std::cos(std::numbers::pi * elapsed / span);
}

double fall(double elapsed, double span)
{
    return 1.0 - rise(elapsed, span);
}

double pitch(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

Timbre mallet()
{
    return {{{1.0, 1.0, 1.0}, {4.0, 0.28, 2.5}, {9.2, 0.06, 5.0}}, 0.002, 0.35, 0.05, 0.0};
}

Timbre bell()
{
    return {{{1.0, 1.0, 1.0}, {2.76, 0.45, 1.7}, {5.40, 0.22, 2.6}, {8.93, 0.10, 3.6}}, 0.001, 0.5, 0.08, 0.0};
}

Timbre softMallet()
{
    return {{{1.0, 1.0, 1.0}, {2.0, 0.18, 1.5}, {3.0, 0.05, 2.0}}, 0.008, 0.45, 0.08, 0.0};
}

Timbre brass()
{
    return {harmonics(10, 1.1), 0.03, 0.0, 0.08, 0.004};
}

Timbre mutedBrass()
{
    return {harmonics(6, 1.6), 0.05, 0.0, 0.12, 0.006};
}

Timbre pad()
{
    return {{{1.0, 1.0, 1.0}, {2.0, 0.3, 1.0}, {3.0, 0.1, 1.0}, {4.0, 0.04, 1.0}}, 0.09, 0.0, 0.35, 0.002};
}

Timbre buzz()
{
    return {{{1.0, 1.0, 1.0}, {3.0, 0.33, 1.0}, {5.0, 0.2, 1.0}, {7.0, 0.14, 1.0}, {9.0, 0.11, 1.0}},
            0.015, 0.0, 0.04, 0.0};
}

void play(Sound& sound, const Timbre& timbre, const Note& note)
{
    const size_t first = sampleAt(note.start);
    const size_t count = sampleAt(note.length + timbre.release);
    std::vector<double> phases(timbre.partials.size(), 0.0);
    for (size_t offset = 0; offset < count && first + offset < sound.samples.size(); ++offset) {
        const double time = static_cast<double>(offset) / kSampleRate;
        const double bend = std::pow(note.glide, std::min(time / note.length, 1.0));
        const double wobble = timbre.vibrato * rise(time, kVibratoOnset) * std::sin(kTwoPi * kVibratoHertz * time);
        const double frequency = note.frequency * bend * (1.0 + wobble);
        const double envelope = rise(time, timbre.attack) * fall(time - note.length, timbre.release);

        double sum = 0.0;
        for (size_t index = 0; index < phases.size(); ++index) {
            const Partial& partial = timbre.partials[index];
            const double partialFrequency = frequency * partial.ratio;
            if (partialFrequency > kHighestPartial)
                continue;
            const double decay = timbre.decay > 0.0 ? std::exp(-time * partial.decayRate / timbre.decay) : 1.0;
            sum += partial.level * decay * std::sin(phases[index]);
            phases[index] = std::fmod(phases[index] + kTwoPi * partialFrequency / kSampleRate, kTwoPi);
        }
        sound.samples[first + offset] += note.level * envelope * sum;
    }
}

double Noise::next()
{
    // xorshift32: plenty for noise, and the same sequence on every machine.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

double Noise::between(double low, double high)
{
    return low + (high - low) * (next() + 1.0) / 2.0;
}

BandPass::BandPass(double centre, double resonance)
{
    tune(centre, resonance);
}

void BandPass::tune(double centre, double resonance)
{
    const double angle = kTwoPi * centre / kSampleRate;
    const double alpha = std::sin(angle) / (2.0 * resonance);
    const double scale = 1.0 + alpha;
    b0_ = alpha / scale;
    b2_ = -alpha / scale;
    a1_ = -2.0 * std::cos(angle) / scale;
    a2_ = (1.0 - alpha) / scale;
}

double BandPass::filter(double input)
{
    const double output = b0_ * input + b2_ * input2_ - a1_ * output1_ - a2_ * output2_;
    input2_ = input1_;
    input1_ = input;
    output2_ = output1_;
    output1_ = output;
    return output;
}

void strike(Sound& sound, Noise& noise, const NoiseBurst& burst)
{
    BandPass band(burst.centre, burst.resonance);
    const size_t first = sampleAt(burst.start);
    const size_t count = sampleAt(burst.attack - burst.decay * std::log(kSilentShare));
    for (size_t offset = 0; offset < count && first + offset < sound.samples.size(); ++offset) {
        const double time = static_cast<double>(offset) / kSampleRate;
        const double envelope = time < burst.attack ? rise(time, burst.attack)
                                                    : std::exp(-(time - burst.attack) / burst.decay);
        sound.samples[first + offset] += burst.level * envelope * band.filter(noise.next());
    }
}
