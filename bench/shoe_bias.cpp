// Where the game's own shoe parts from a fair one: plays the same hands by the chart from a fair
// shoe, from the game's shoe, and from shoes that each keep one property of the game's shoe and
// not the others, and prints the house edge of each with its 95% margin, and how often a card of a
// round has the rank of the card drawn just before it.
//
//   cmake --build build --target shoe_bias && build/shoe_bias [hands] [decks...]
#include "analysis.h"
#include "card_sources.h"
#include "round.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A fair shuffle dealt down to the game's reshuffle point: 8 or fewer cards left at a round's start.
struct ShuffledToGamesPoint {
    std::vector<std::uint8_t> ranks;
    size_t dealt = 0;
    std::uint64_t random = 12345;

    explicit ShuffledToGamesPoint(int decks) : ranks(FairShoe(decks, 0).ranks) { shuffle(); }
    void shuffle()
    {
        for (size_t card = ranks.size() - 1; card > 0; --card)
            std::swap(ranks[card], ranks[randomBelow(random, card + 1)]);
        dealt = 0;
    }
    int first()
    {
        if (dealt >= ranks.size() - 8)
            shuffle();
        return next();
    }
    int next()
    {
        if (dealt == ranks.size())
            shuffle();
        return ranks[dealt++];
    }
};

// The game's draw and reshuffle point, with each candidate from a good generator instead.
struct GameDrawGoodGenerator {
    GameShoe game;
    std::uint64_t random = 777;

    explicit GameDrawGoodGenerator(int decks) : game(decks, 1) {}
    int first() { return reseeded(true); }
    int next() { return reseeded(false); }
    int reseeded(bool roundsFirst)
    {
        seedRandom(game.shoe, static_cast<std::uint32_t>(splitMix(random) >> 32));
        return cardRank(dealCard(game.shoe, game.decks, roundsFirst).card);
    }
};

// The game's draw and generator, but every round from a full shoe.
struct GameDrawFreshShoe {
    GameShoe game;

    explicit GameDrawFreshShoe(int decks) : game(decks, 99) {}
    int first()
    {
        const std::uint32_t state = game.shoe.randomState;
        game.shoe = Shoe{};
        game.shoe.randomState = state;
        return game.next();
    }
    int next() { return game.next(); }
};

// Cards drawn with replacement: a shoe that never runs down.
struct EndlessShoe {
    std::uint64_t random = 4242;
    int first() { return next(); }
    int next() { return static_cast<int>(randomBelow(random, kCardsPerDeck)) / 4; }
};

// Counts, within each round, the cards that have the rank of the card drawn just before them.
template <typename Source>
struct Watched {
    Source source;
    int last = -1;
    long long followers = 0;
    long long repeats = 0;

    int first()
    {
        last = source.first();
        return last;
    }
    int next()
    {
        const int rank = source.next();
        ++followers;
        repeats += rank == last ? 1 : 0;
        last = rank;
        return rank;
    }
};

template <typename Source>
void measure(const char* name, const Chart& chart, Source source, long long hands)
{
    long long sum = 0;
    long long squares = 0;
    Watched<Source> watched{std::move(source)};
    for (long long hand = 0; hand < hands; ++hand) {
        const int result = playRound(chart, watched);
        sum += result;
        squares += result * result;
    }
    const double mean = static_cast<double>(sum) / static_cast<double>(hands) / 2;
    const double variance = static_cast<double>(squares) / static_cast<double>(hands) / 4 - mean * mean;
    std::printf("  %-48s %7.3f%% +- %.3f%%   %5.1f%%\n", name, -100 * mean,
                196 * std::sqrt(variance / static_cast<double>(hands)),
                100.0 * static_cast<double>(watched.repeats) / static_cast<double>(watched.followers));
}

} // namespace

int main(int argc, char** argv)
{
    const long long hands = argc > 1 ? std::atoll(argv[1]) : 20'000'000;
    std::vector<int> deckCounts;
    for (int arg = 2; arg < argc; ++arg)
        deckCounts.push_back(std::atoi(argv[arg]));
    if (deckCounts.empty())
        deckCounts = {1, 6};
    for (const int decks : deckCounts) {
        const DeckOdds odds = analyseShoe(decks);
        std::printf("%d decks, %lld hands each; exact edge %.3f%%\n", decks, hands, 100 * odds.edge);
        std::printf("  %-48s %8s %10s   %s\n", "cards from", "edge", "95%", "same rank as the card before");
        measure("fair shoe, shuffled afresh for every hand", odds.chart, FairShoe(decks, 1), hands);
        measure("fair shuffle dealt to the game's reshuffle point", odds.chart, ShuffledToGamesPoint(decks), hands);
        measure("cards drawn with replacement (endless shoe)", odds.chart, EndlessShoe{}, hands);
        measure("game's draw, every round from a full shoe", odds.chart, GameDrawFreshShoe(decks), hands);
        measure("game's draw and reshuffle point, good generator", odds.chart, GameDrawGoodGenerator(decks), hands);
        measure("game's shoe", odds.chart, GameShoe(decks, 1), hands);
    }
}
