#include "sounds.h"

#include "voices.h"

#include <array>
#include <cmath>
#include <initializer_list>

namespace {

// Notes by their MIDI numbers.
constexpr int kE3 = 52, kF3 = 53, kFSharp3 = 54, kG3 = 55, kA3 = 57;
constexpr int kC4 = 60, kEFlat4 = 63, kE4 = 64, kG4 = 67, kA4 = 69;
constexpr int kC5 = 72, kD5 = 74, kE5 = 76, kF5 = 77, kG5 = 79, kA5 = 81;
constexpr int kC6 = 84, kE6 = 88, kG6 = 91, kC7 = 96;
constexpr int kC3 = 48;

struct Step {
    double start;
    int note;
    double length;
    double level;
};

void melody(Sound& sound, const Timbre& timbre, std::initializer_list<Step> steps)
{
    for (const Step& step : steps)
        play(sound, timbre, {step.start, pitch(step.note), step.length, step.level});
}

void chord(Sound& sound, const Timbre& timbre, double start, double length, double level,
           std::initializer_list<int> notes)
{
    for (const int note : notes)
        play(sound, timbre, {start, pitch(note), length, level});
}

// A quick run of bell notes over a held chord.
void sparkle(Sound& sound, double start, double level, std::initializer_list<int> notes)
{
    double time = start;
    for (const int note : notes) {
        play(sound, bell(), {time, pitch(note), 0.3, level});
        time += 0.06;
    }
}

// Each sound is levelled to a peak. Struck tunes and the table's noises, mostly short attacks,
// take these; held notes sound louder for the same peak, so they take less.
constexpr double kTunePeak = 0.5;
constexpr double kNoisePeak = 0.45;
constexpr double kHeldPeak = 0.24;

// A card snapping onto the felt: its edge cutting the air, the snap, the felt's soft thud.
Sound card()
{
    Sound sound(0.09);
    Noise noise(11);
    strike(sound, noise, {0.000, 1800, 0.9, 0.0005, 0.004, 0.3});
    strike(sound, noise, {0.004, 3200, 0.8, 0.0005, 0.006, 1.0});
    strike(sound, noise, {0.004, 240, 1.0, 0.001, 0.015, 2.5});
    finish(sound, kNoisePeak);
    return sound;
}

// A chip's clink on the stack, and a smaller ring as it settles.
Sound coin()
{
    const Timbre clink{{{1.0, 1.0, 1.0}, {1.613, 0.7, 1.35}, {2.179, 0.45, 1.7}, {2.923, 0.3, 2.3}},
                       0.0005, 0.12, 0.03, 0.0};
    Sound sound(0.4);
    Noise noise(23);
    play(sound, clink, {0.004, 2350, 0.3, 1.0});
    strike(sound, noise, {0.003, 6000, 1.0, 0.0003, 0.0015, 0.6});
    play(sound, clink, {0.095, 2420, 0.25, 0.45});
    strike(sound, noise, {0.094, 6000, 1.0, 0.0003, 0.0015, 0.25});
    finish(sound, kNoisePeak * 0.9);
    return sound;
}

// A riffled deck: cards flicking off the thumbs faster and faster over the flutter of the
// halves, then the bridge that pours them back into one deck.
Sound riffle()
{
    constexpr double kFirstFlick = 0.02;
    constexpr double kLastFlick = 0.62;
    Sound sound(0.7);
    Noise noise(37);
    for (double time = kFirstFlick; time < kLastFlick;) {
        const double progress = (time - kFirstFlick) / (kLastFlick - kFirstFlick);
        const double level = 0.5 + 0.5 * std::sin(3.14159 * progress);
        strike(sound, noise, {time, noise.between(2500, 4500), 1.2, 0.0003, 0.0025, level});
        time += 0.017 - 0.007 * progress + noise.between(-0.003, 0.003);
    }
    strike(sound, noise, {0.02, 700, 0.7, 0.25, 0.12, 0.25});
    strike(sound, noise, {0.60, 1400, 0.8, 0.04, 0.03, 0.5});
    finish(sound, kNoisePeak);
    return sound;
}

// The deck squared on the table: a light knock, then a firm one.
Sound tap()
{
    const Timbre knock{{{1.0, 1.0, 1.0}, {2.3, 0.4, 2.0}}, 0.001, 0.02, 0.02, 0.0};
    Sound sound(0.17);
    Noise noise(41);
    for (const auto [start, level] : std::array{std::array{0.004, 0.6}, std::array{0.08, 1.0}}) {
        play(sound, knock, {start, 150, 0.05, level * 0.7});
        strike(sound, noise, {start, 900, 1.4, 0.0005, 0.008, level * 1.5});
        strike(sound, noise, {start, 3000, 1.0, 0.0002, 0.0015, level * 0.4});
    }
    finish(sound, kNoisePeak);
    return sound;
}

Sound win()
{
    Sound sound(0.65);
    melody(sound, mallet(), {{0.00, kC5, 0.12, 0.8}, {0.09, kE5, 0.12, 0.8}, {0.18, kG5, 0.12, 0.8},
                             {0.27, kC6, 0.30, 1.0}});
    play(sound, bell(), {0.27, pitch(kC7), 0.3, 0.2});
    finish(sound, kTunePeak);
    return sound;
}

Sound lose()
{
    Sound sound(0.8);
    melody(sound, softMallet(), {{0.00, kG4, 0.12, 0.8}, {0.15, kEFlat4, 0.12, 0.8}, {0.30, kC4, 0.38, 1.0}});
    play(sound, pad(), {0.30, pitch(kC3), 0.15, 0.3});
    finish(sound, kTunePeak * 0.75);
    return sound;
}

// Neither up nor down: the same note twice, over an open fourth.
Sound push()
{
    Sound sound(0.45);
    melody(sound, mallet(), {{0.00, kD5, 0.12, 0.8}, {0.15, kD5, 0.25, 0.8}, {0.15, kA4, 0.25, 0.35}});
    finish(sound, kTunePeak * 0.85);
    return sound;
}

// Brass with a sharper tongue, so that quick notes stand apart.
Timbre shortBrass()
{
    Timbre timbre = brass();
    timbre.attack = 0.012;
    timbre.release = 0.025;
    return timbre;
}

// Blackjack: a bright triplet call, then the chord with a sparkle on top.
Sound blackjack()
{
    Sound sound(0.9);
    melody(sound, shortBrass(), {{0.00, kG4, 0.05, 0.7}, {0.08, kG4, 0.05, 0.7}, {0.16, kG4, 0.05, 0.7}});
    melody(sound, brass(), {{0.24, kC5, 0.5, 1.0}, {0.24, kE5, 0.5, 0.6}, {0.24, kG5, 0.5, 0.5}});
    sparkle(sound, 0.24, 0.2, {kC6, kE6, kG6, kC7});
    finish(sound, kTunePeak);
    return sound;
}

// A soft, low buzz, two voices a little apart so that it beats gently.
Sound error()
{
    Sound sound(0.3);
    play(sound, buzz(), {0.0, 110.0, 0.2, 1.0});
    play(sound, buzz(), {0.0, 111.2, 0.2, 0.8});
    finish(sound, kHeldPeak * 0.7);  // an error should not startle
    return sound;
}

// A chair pulled back on a wooden floor: its legs catch and slip some forty times a second,
// each jolt ringing the wood, the ring falling in pitch as the chair slows, over a low rumble.
Sound chair()
{
    constexpr double kLength = 0.65;
    Sound sound(kLength);
    Noise noise(53);
    BandPass legs(450, 6.0);
    BandPass wood(1000, 4.0);
    BandPass rumble(140, 1.0);
    const double joltDecay = std::exp(-1.0 / (kSampleRate * 0.003));
    double judder = 0.0;
    double nextJolt = 0.0;
    for (size_t index = 0; index < sound.samples.size(); ++index) {
        const double time = static_cast<double>(index) / kSampleRate;
        if (time >= nextJolt) {
            judder = noise.between(0.6, 1.0);
            nextJolt += noise.between(0.018, 0.028);
        }
        judder *= joltDecay;
        const double ring = 450 - 150 * time / kLength;
        legs.tune(ring, 6.0);
        wood.tune(ring * 2.3, 4.0);
        const double jolt = judder * noise.next();
        const double envelope = rise(time, 0.08) * fall(time - 0.5, 0.13);
        sound.samples[index] = envelope * (legs.filter(jolt) + 0.5 * wood.filter(jolt)
                                           + 0.1 * rumble.filter(noise.next()));
    }
    finish(sound, kNoisePeak);
    return sound;
}

// The opening jingle: up a C major arpeggio and a bounce to the top, landing on the chord.
Sound opening()
{
    Sound sound(1.45);
    melody(sound, mallet(), {{0.00, kG4, 0.1, 0.8}, {0.12, kC5, 0.1, 0.8}, {0.24, kE5, 0.1, 0.8},
                             {0.36, kG5, 0.1, 0.8}, {0.54, kE5, 0.1, 0.8}, {0.66, kG5, 0.5, 1.0}});
    chord(sound, pad(), 0.66, 0.4, 0.25, {kC4, kE4, kG4});
    play(sound, bell(), {0.66, pitch(kC6), 0.5, 0.3});
    finish(sound, kTunePeak);
    return sound;
}

// After the opening: a warm F major seventh, rolled on bells over a soft chord.
Sound intro()
{
    Sound sound(1.15);
    chord(sound, pad(), 0.0, 0.7, 0.3, {kF3, kC4, kA4});
    melody(sound, bell(), {{0.0, kF5, 0.7, 0.6}, {0.1, kA5, 0.6, 0.6}, {0.2, kC6, 0.5, 0.6}, {0.3, kE6, 0.7, 0.5}});
    finish(sound, kTunePeak);
    return sound;
}

// "Bye-bye": two gentle falling notes.
Sound bye()
{
    Sound sound(0.75);
    melody(sound, softMallet(), {{0.0, kE5, 0.18, 1.0}, {0.22, kC5, 0.35, 1.0}});
    play(sound, pad(), {0.22, pitch(kC4), 0.15, 0.3});
    finish(sound, kTunePeak * 0.7);
    return sound;
}

// The closing chord, held and let go.
Sound close()
{
    Sound sound(1.2);
    play(sound, pad(), {0.0, pitch(kC3), 0.75, 0.5});
    chord(sound, pad(), 0.0, 0.75, 0.35, {kG3, kC4, kE4, kG4});
    play(sound, bell(), {0.0, pitch(kC5), 0.9, 0.35});
    finish(sound, kTunePeak);
    return sound;
}

// Leaving a winner: a brass fanfare up to a held C major chord.
Sound winFinal()
{
    Sound sound(1.65);
    melody(sound, shortBrass(), {{0.00, kC5, 0.1, 0.8}, {0.12, kE5, 0.1, 0.8}, {0.24, kG5, 0.1, 0.8}});
    melody(sound, brass(), {{0.36, kC6, 0.9, 1.0}, {0.36, kG5, 0.9, 0.5}, {0.36, kE5, 0.9, 0.5}});
    play(sound, pad(), {0.36, pitch(kC4), 0.9, 0.4});
    sparkle(sound, 0.36, 0.2, {kC6, kE6, kG6, kC7});
    finish(sound, kTunePeak);
    return sound;
}

// Leaving with less: a slow walk down to A minor.
Sound loseFinal()
{
    Sound sound(1.6);
    melody(sound, softMallet(), {{0.00, kE5, 0.18, 0.9}, {0.22, kD5, 0.18, 0.9}, {0.44, kC5, 0.18, 0.9},
                                 {0.66, kA4, 0.6, 1.0}});
    chord(sound, pad(), 0.66, 0.5, 0.3, {kA3, kC4, kE4});
    finish(sound, kTunePeak);
    return sound;
}

// Leaving even: down a fifth and back, over an open fifth with no third to colour it.
Sound evenFinal()
{
    Sound sound(1.25);
    melody(sound, mallet(), {{0.00, kC5, 0.15, 0.9}, {0.18, kG4, 0.15, 0.9}, {0.36, kC5, 0.5, 1.0}});
    chord(sound, pad(), 0.36, 0.45, 0.3, {kC4, kG4});
    finish(sound, kTunePeak);
    return sound;
}

// Broke: a muted trombone sliding down by half steps, the last note sagging with a wobble.
Sound broke()
{
    Timbre sagging = mutedBrass();
    sagging.vibrato = 0.015;
    Sound sound(1.8);
    melody(sound, mutedBrass(), {{0.00, kG3, 0.3, 0.9}, {0.38, kFSharp3, 0.3, 0.9}, {0.76, kF3, 0.3, 0.9}});
    play(sound, sagging, {1.14, pitch(kE3), 0.5, 1.0, 0.97});
    finish(sound, kHeldPeak);
    return sound;
}

constexpr std::array kRecipes = {
    SoundRecipe{"open.wav", opening},     SoundRecipe{"intro.wav", intro},
    SoundRecipe{"chair.wav", chair},      SoundRecipe{"error.wav", error},
    SoundRecipe{"bj.wav", blackjack},     SoundRecipe{"broke.wav", broke},
    SoundRecipe{"winfin.wav", winFinal},  SoundRecipe{"losfin.wav", loseFinal},
    SoundRecipe{"evenfin.wav", evenFinal}, SoundRecipe{"riffle.wav", riffle},
    SoundRecipe{"tap.wav", tap},          SoundRecipe{"coin.wav", coin},
    SoundRecipe{"card.wav", card},        SoundRecipe{"bye.wav", bye},
    SoundRecipe{"close.wav", close},      SoundRecipe{"win.wav", win},
    SoundRecipe{"lose.wav", lose},        SoundRecipe{"push.wav", push},
};

} // namespace

std::span<const SoundRecipe> soundRecipes()
{
    return kRecipes;
}
