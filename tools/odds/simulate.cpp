#include "simulate.h"

#include "card_sources.h"
#include "round.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <time.h>
#include <vector>

namespace {

constexpr std::int64_t kBlockHands = 1 << 16;
constexpr double kNormal95 = 1.959964;

// Processor time of the calling thread, so that other work on the machine does not count.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Sums of results in half stakes: exact, so the figures do not depend on the order of blocks.
struct Tally {
    std::int64_t hands = 0;
    std::int64_t sum = 0;
    std::int64_t squares = 0;

    void add(const Tally& other)
    {
        hands += other.hands;
        sum += other.sum;
        squares += other.squares;
    }
};

template <typename Source>
Tally playHands(const Chart& chart, Source& source, std::int64_t hands)
{
    Tally tally;
    tally.hands = hands;
    for (std::int64_t hand = 0; hand < hands; ++hand) {
        const int result = playRound(chart, source);
        tally.sum += result;
        tally.squares += result * result;
    }
    return tally;
}

// The house edge per stake and its 95% margin: the mean of -result / 2 over the hands.
Estimate estimateOf(const Tally& tally)
{
    const double count = static_cast<double>(tally.hands);
    const double mean = static_cast<double>(tally.sum) / count / 2;
    const double variance = static_cast<double>(tally.squares) / count / 4 - mean * mean;
    return {-mean, kNormal95 * std::sqrt(variance / count)};
}

struct Worker {
    Tally fair;
    Tally game;
    double gameSeconds = 0;
};

void runBlocks(const Chart& chart, const SimulationRequest& request, std::atomic<std::int64_t>& nextBlock,
               std::atomic<std::int64_t>& handsDone, Worker& worker)
{
    const std::int64_t blocks = (request.hands + kBlockHands - 1) / kBlockHands;
    for (std::int64_t block = nextBlock++; block < blocks; block = nextBlock++) {
        const std::int64_t hands = std::min(kBlockHands, request.hands - block * kBlockHands);
        std::uint64_t seeds = request.seed * 0x100000001B3ULL + static_cast<std::uint64_t>(block);
        FairShoe fair(request.decks, splitMix(seeds));
        GameShoe game(request.decks, static_cast<std::uint32_t>(splitMix(seeds)));
        worker.fair.add(playHands(chart, fair, hands));
        const double start = threadSeconds();
        worker.game.add(playHands(chart, game, hands));
        worker.gameSeconds += threadSeconds() - start;
        handsDone += hands;
    }
}

} // namespace

Simulation simulate(const Chart& chart, const SimulationRequest& request)
{
    Simulation result;
    result.hands = request.hands;
    result.threads = std::max(1, request.threads);
    if (request.hands <= 0)
        return result;

    std::atomic<std::int64_t> nextBlock{0};
    std::atomic<std::int64_t> handsDone{0};
    std::vector<Worker> workers(static_cast<size_t>(result.threads));
    std::mutex mutex;
    std::condition_variable finished;
    int running = result.threads;
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (Worker& worker : workers) {
        threads.emplace_back([&] {
            runBlocks(chart, request, nextBlock, handsDone, worker);
            const std::lock_guard lock(mutex);
            --running;
            finished.notify_one();
        });
    }
    {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(250), [&] { return running == 0; })) {
            if (request.progress)
                request.progress(static_cast<double>(handsDone) / static_cast<double>(request.hands));
        }
    }
    for (std::thread& thread : threads)
        thread.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    Tally fair;
    Tally game;
    double gameSeconds = 0;
    for (const Worker& worker : workers) {
        fair.add(worker.fair);
        game.add(worker.game);
        gameSeconds += worker.gameSeconds;
    }
    result.fairShoe = estimateOf(fair);
    result.gameShoe = estimateOf(game);
    result.difference = {result.gameShoe.edge - result.fairShoe.edge,
                         std::hypot(result.fairShoe.margin, result.gameShoe.margin)};
    result.handsPerSecond = 2.0 * static_cast<double>(request.hands) / seconds;
    result.gameHandsPerCoreSecond = static_cast<double>(request.hands) / gameSeconds;
    return result;
}
