// Sources of cards for simulated rounds (see round.h): each gives card ranks, 0 (ace) to 12
// (king), with first() for a round's first card and next() for every other.
#pragma once

#include "shoe/shoe.h"

#include <cstdint>
#include <utility>
#include <vector>

// A small, fast 64-bit generator (SplitMix64) for the fair shoe and for seeding.
inline std::uint64_t splitMix(std::uint64_t& state)
{
    std::uint64_t mixed = (state += 0x9E3779B97F4A7C15ULL);
    mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ULL;
    mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBULL;
    return mixed ^ (mixed >> 31);
}

// A number from 0 to below `bound`, from the high bits of a 64-bit draw.
inline size_t randomBelow(std::uint64_t& state, size_t bound)
{
    return static_cast<size_t>(((splitMix(state) >> 32) * bound) >> 32);
}

// Every hand from the whole shoe: the cards are drawn at random without replacement from an
// array that holds the shoe, so the draws of each hand are the first cards of a fresh, fair shuffle.
struct FairShoe {
    std::vector<std::uint8_t> ranks;
    size_t dealt = 0;
    std::uint64_t random = 0;

    FairShoe(int decks, std::uint64_t seed) : random(seed)
    {
        for (int card = 1; card <= decks * kCardsPerDeck; ++card)
            ranks.push_back(static_cast<std::uint8_t>(cardRank(card)));
    }
    int first()
    {
        dealt = 0;
        return next();
    }
    int next()
    {
        std::swap(ranks[dealt], ranks[dealt + randomBelow(random, ranks.size() - dealt)]);
        return ranks[dealt++];
    }
};

// The game's own shoe, dealing exactly as the game does, its generator seeded once.
struct GameShoe {
    Shoe shoe;
    int decks = 0;

    GameShoe(int deckCount, std::uint32_t seed) : decks(deckCount) { seedRandom(shoe, seed); }
    int first() { return cardRank(dealCard(shoe, decks, true).card); }
    int next() { return cardRank(dealCard(shoe, decks, false).card); }
};
