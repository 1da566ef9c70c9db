#include "analysis.h"
#include <chrono>
#include <cstdio>
int main()
{
    for (int decks = 1; decks <= 8; ++decks) {
        const auto start = std::chrono::steady_clock::now();
        const DeckOdds odds = analyseShoe(decks);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%d decks: edge %.4f%%  insurance %.3f%%  %.0f ms\n", decks, 100 * odds.edge, 100 * odds.insurance, ms);
    }
}
