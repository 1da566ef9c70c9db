// Plays hands by the chart to check the exact figures, from two sources of cards:
// - a fair shoe: every hand dealt from the whole shoe, freshly and fairly shuffled;
// - the game's own shoe: its generator, its draw and its reshuffle point, exactly as a game deals.
// The hands are cut into blocks, each seeded from the run's seed and its own number, so a run's
// figures do not depend on the number of threads. Each block of the game's shoe is a new game:
// a fresh shoe with its generator seeded once, as the game seeds it at start-up.
#pragma once

#include "chart.h"

#include <cstdint>
#include <functional>

// An edge estimated from hands played, with the half-width of its 95% confidence interval.
struct Estimate {
    double edge = 0;
    double margin = 0;
};

struct Simulation {
    std::int64_t hands = 0;  // per shoe
    int threads = 0;
    Estimate fairShoe;
    Estimate gameShoe;
    Estimate difference;        // game's shoe minus fair shoe
    double handsPerSecond = 0;  // both shoes, all threads, by the clock on the wall
    double gameHandsPerCoreSecond = 0;
};

struct SimulationRequest {
    int decks = 6;
    std::int64_t hands = 0;
    int threads = 1;
    std::uint64_t seed = 1;
    using Progress = std::function<void(double done)>;
    Progress progress;  // called now and then with the share of hands played, if set
};

Simulation simulate(const Chart& chart, const SimulationRequest& request);
