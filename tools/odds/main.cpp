#include "analysis.h"
#include "simulate.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
int main(int argc, char** argv)
{
    const int decks = argc > 1 ? std::atoi(argv[1]) : 6;
    const long long hands = argc > 2 ? std::atoll(argv[2]) : 1000000;
    const DeckOdds odds = analyseShoe(decks);
    std::printf("%d decks: edge %.4f%%  insurance %.3f%%\n", decks, 100 * odds.edge, 100 * odds.insurance);
    SimulationRequest request;
    request.decks = decks; request.hands = hands; request.threads = argc > 3 ? std::atoi(argv[3]) : 2;
    const Simulation sim = simulate(odds.chart, request);
    std::printf("fair %.4f +- %.4f  game %.4f +- %.4f  diff %.4f +- %.4f  %.0f h/s  game %.0f h/core-s\n",
        100*sim.fairShoe.edge, 100*sim.fairShoe.margin, 100*sim.gameShoe.edge, 100*sim.gameShoe.margin,
        100*sim.difference.edge, 100*sim.difference.margin, sim.handsPerSecond, sim.gameHandsPerCoreSecond);
}
