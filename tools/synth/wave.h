// A mono sound under construction and its WAV file: samples from -1 to 1 at 44.1 kHz, written
// as 16-bit PCM once levelled and faded at both ends.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

inline constexpr int kSampleRate = 44100;

struct Sound {
    explicit Sound(double seconds);
    std::vector<double> samples;
};

// The index of the sample at that time.
size_t sampleAt(double seconds);

// Scales the sound so that its loudest sample reaches peak (0 to 1), then fades it in and out
// over a few milliseconds, so that it starts and ends on silence without a click.
void finish(Sound& sound, double peak);

// Writes the sound as a 16-bit PCM mono WAV file; false when the file cannot be written.
bool writeWav(const std::filesystem::path& file, const Sound& sound);
