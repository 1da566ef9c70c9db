// How many whole games a second of processor time the game code plays on the scripted backend,
// where pauses cost nothing and the screen is virtual: the cost of the game's own logic and
// drawing. Each game gets a random stream of bet lines, answer keys, stray bytes and special
// keys, and runs until it leaves the table or its input ends.
//
//   cmake --build build --target soak_throughput && build/soak_throughput [games]
#include "console/scripted_backend.h"
#include "flow/entry.h"
#include "table/game.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

namespace {

constexpr int kInputsPerGame = 300;
constexpr int kCtrlC = 3;

void queueSetUp(ScriptedBackend& backend, std::mt19937& random)
{
    backend.type("n");                        // no instructions
    backend.type(random() % 2 ? "Y" : "n");   // sound or not
    backend.type(std::string(1, static_cast<char>('1' + random() % 8)));
}

std::string randomBetLine(std::mt19937& random)
{
    switch (random() % 10) {
    case 0:
        return "";  // the last stake again
    case 1:
        return "x" + std::to_string(random() % 100);  // no number in it
    case 2:
        return std::to_string(random() % 2000);       // mostly out of the table's limits
    default:
        return std::to_string(5 + random() % 96);
    }
}

void queueRandomInput(ScriptedBackend& backend, std::mt19937& random)
{
    static constexpr std::string_view answers = "hsdynHSDYN";
    queueSetUp(backend, random);
    for (int input = 0; input < kInputsPerGame; ++input) {
        const auto kind = random() % 100;
        if (kind < 30) {
            backend.typeLine(randomBetLine(random));
        } else if (kind < 90) {
            backend.type(answers.substr(random() % answers.size(), 1));
        } else if (kind < 95) {
            backend.press(224, static_cast<int>(71 + random() % 13));  // an arrow or the like
        } else {
            const int stray = static_cast<int>(random() % 256);
            backend.press(stray == kCtrlC ? 'x' : stray);  // Ctrl+C would end the game at once
        }
    }
}

// Every round's deal writes this once.
int countRounds(const ScriptedBackend& backend)
{
    return static_cast<int>(std::count(backend.events.begin(), backend.events.end(), "text You have:  "));
}

} // namespace

int main(int argc, char** argv)
{
    const int games = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    std::mt19937 random(20260301);
    long rounds = 0;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t processorStart = std::clock();
    for (int played = 0; played < games; ++played) {
        ScriptedBackend backend;
        queueRandomInput(backend, random);
        Game game(backend);
        runGame(game, static_cast<std::uint32_t>(random()));
        rounds += countRounds(backend);
    }
    // Processor time, so that other work on the machine does not count against the game.
    const double processorSeconds = static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.1f games a processor second, %.1f rounds a game (%d games, %.2f s, %.2f s of processor time)\n",
                games / processorSeconds, static_cast<double>(rounds) / games, games, seconds, processorSeconds);
    return 0;
}
