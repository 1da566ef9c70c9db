#include "wave.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <string>

namespace {

constexpr double kFadeInSeconds = 0.002;
constexpr double kFadeOutSeconds = 0.012;

// A raised-cosine ramp from 0 to 1 over the given number of samples.
double ramp(size_t position, size_t length)
{
    return 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(position) / static_cast<double>(length));
}

// Appends a little-endian integer of the given width.
void put(std::string& bytes, std::uint32_t value, int width)
{
    for (int byte = 0; byte < width; ++byte)
        bytes += static_cast<char>((value >> (8 * byte)) & 0xFF);
}

} // namespace

Sound::Sound(double seconds) : samples(sampleAt(seconds), 0.0) {}

size_t sampleAt(double seconds)
{
    return static_cast<size_t>(std::lround(std::max(seconds, 0.0) * kSampleRate));
}

void finish(Sound& sound, double peak)
{
    auto& samples = sound.samples;
    double loudest = 0.0;
    for (const double sample : samples)
        loudest = std::max(loudest, std::abs(sample));
    if (loudest > 0.0) {
        for (double& sample : samples)
            sample *= peak / loudest;
    }

    const size_t fadeIn = std::min(sampleAt(kFadeInSeconds), samples.size());
    for (size_t index = 0; index < fadeIn; ++index)
        samples[index] *= ramp(index, fadeIn);
    const size_t fadeOut = std::min(sampleAt(kFadeOutSeconds), samples.size());
    for (size_t index = 0; index < fadeOut; ++index)
        samples[samples.size() - 1 - index] *= ramp(index, fadeOut);
}

bool writeWav(const std::filesystem::path& file, const Sound& sound)
{
    constexpr std::uint32_t kBytesPerSample = 2;
    const auto dataBytes = static_cast<std::uint32_t>(sound.samples.size() * kBytesPerSample);

    std::string bytes = "RIFF";
    put(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    put(bytes, 16, 4);                              // size of the format chunk
    put(bytes, 1, 2);                               // PCM
    put(bytes, 1, 2);                               // mono
    put(bytes, kSampleRate, 4);
    put(bytes, kSampleRate * kBytesPerSample, 4);   // bytes per second
    put(bytes, kBytesPerSample, 2);                 // bytes per frame
    put(bytes, 16, 2);                              // bits per sample
    bytes += "data";
    put(bytes, dataBytes, 4);
    for (const double sample : sound.samples) {
        const long level = std::lround(std::clamp(sample, -1.0, 1.0) * 32767.0);
        put(bytes, static_cast<std::uint32_t>(static_cast<std::int16_t>(level)) & 0xFFFF, 2);
    }

    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
