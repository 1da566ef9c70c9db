// How long play() takes beyond the sound's own length: the cost of the wait for the device's
// queue and buffer. Plays every sound file a few times through SDL's disk driver, which paces
// itself like a sound card (its output goes to /dev/null), and prints the overshoot per file.
// The disk driver sleeps a little longer than each buffer lasts, so its overshoot grows with
// the sound's length; a straight-line fit separates that drift from the fixed cost of a play.
//
//   cmake --build build --target sound_latency && build/sound_latency [rounds]
#include "console/sound.h"
#include "console/sound_player.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const std::filesystem::path kDataFolder = BLACKJACK_DATA_DIR;

// The sound's length in milliseconds, from its WAV file.
double lengthMs(const std::filesystem::path& file)
{
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(file.c_str(), &spec, &buffer, &length) == nullptr)
        return -1.0;
    SDL_FreeWAV(buffer);
    const double frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8.0 * spec.channels;
    return length / frameBytes * 1000.0 / spec.freq;
}

double playMs(SoundPlayer& player, std::string_view file)
{
    const auto start = Clock::now();
    player.play(file);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    setenv("SDL_AUDIODRIVER", "disk", 0);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);

    SoundPlayer player({kDataFolder});
    std::vector<double> overshoots;
    std::vector<double> lengths;
    std::printf("%-12s %9s %11s %9s %9s\n", "file", "length", "first play", "mean", "worst");
    for (const std::string_view file : allSoundFiles()) {
        const double length = lengthMs(kDataFolder / file);
        if (length < 0) {
            std::printf("%-12.*s missing from %s\n", static_cast<int>(file.size()), file.data(), kDataFolder.c_str());
            return 1;
        }
        // The first play also opens the device (for the first file) and loads the file.
        const double first = playMs(player, file) - length;
        double sum = 0.0;
        double worst = 0.0;
        for (int round = 0; round < rounds; ++round) {
            const double overshoot = playMs(player, file) - length;
            overshoots.push_back(overshoot);
            lengths.push_back(length);
            sum += overshoot;
            worst = std::max(worst, overshoot);
        }
        std::printf("%-12.*s %6.0f ms %+8.1f ms %+6.1f ms %+6.1f ms\n", static_cast<int>(file.size()), file.data(),
                    length, first, sum / rounds, worst);
    }
    // Least squares: overshoot = fixed + drift x length.
    const double count = static_cast<double>(overshoots.size());
    double meanLength = 0.0;
    double meanOvershoot = 0.0;
    for (size_t play = 0; play < overshoots.size(); ++play) {
        meanLength += lengths[play] / count;
        meanOvershoot += overshoots[play] / count;
    }
    double covariance = 0.0;
    double variance = 0.0;
    for (size_t play = 0; play < overshoots.size(); ++play) {
        covariance += (lengths[play] - meanLength) * (overshoots[play] - meanOvershoot);
        variance += (lengths[play] - meanLength) * (lengths[play] - meanLength);
    }
    const double drift = covariance / variance;
    const double fixed = meanOvershoot - drift * meanLength;

    std::sort(overshoots.begin(), overshoots.end());
    double total = 0.0;
    for (const double overshoot : overshoots)
        total += overshoot;
    std::printf("\nbeyond the sound's length, over %zu plays: mean %.1f ms, median %.1f ms, worst %.1f ms\n",
                overshoots.size(), total / static_cast<double>(overshoots.size()),
                overshoots[overshoots.size() / 2], overshoots.back());
    std::printf("as a straight line: %.1f ms per play, plus %.2f%% of the length (the disk driver's drift)\n",
                fixed, drift * 100.0);
    return 0;
}
