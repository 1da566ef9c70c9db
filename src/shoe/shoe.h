// The shoe: deckCount decks of 52 cards, kept as the list of cards dealt since the last
// shuffle (no shuffled sequence exists). It owns the game's random generator: a linear
// congruential generator seeded once at start-up and called once per card drawn.
//
// A card number n runs from 1 to the shoe's size; with k = (n - 1) mod 52, k / 4 is the rank
// (ACE, TWO, ... KING) and k % 4 the suit (CLUBS, DIAMONDS, HEARTS, SPADES).
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kMaxDecks = 8;
inline constexpr int kCardsPerDeck = 52;

struct Shoe {
    int shoeSize = 0;             // deckCount x 52, set at every draw
    int cardsSinceShuffle = 0;    // cards drawn since the last reshuffle (or since start-up)
    std::array<int, kMaxDecks * kCardsPerDeck> usedCards{};  // cards dealt since the shuffle; 0 is empty
    int usedTop = 0;              // index of the last filled slot of usedCards
    int roundFirstSlot = 0;       // slot of usedCards that holds the current round's first card
    std::uint32_t randomState = 1;
    // An index of the used list, one bit per card number (bit n - 1 for card n), so that a draw
    // finds the next undealt card in a few word operations instead of passes over the list.
    // It covers the first maskedCards entries of the list and is rebuilt whenever the list holds
    // another number of cards, as a shoe set up by hand does.
    std::array<std::uint64_t, (kMaxDecks * kCardsPerDeck + 63) / 64> dealtMask{};
    int maskedCards = 0;
};

void seedRandom(Shoe& shoe, std::uint32_t seed);
// A number from 0 to 32767.
int nextRandom(Shoe& shoe);
// Such a number modulo the size of a shoe of 1 to 8 decks, as % gives it.
int randomModuloShoeSize(int random, int decks);

// Point values: an ace counts 11 (a hand may later count it as 1), a ten or a face card 10.
inline constexpr int kAceValue = 11;
inline constexpr int kTenValue = 10;

// The rank of a card number: 0 for an ace, 1 for a two, ... 12 for a king.
inline int cardRank(int cardNumber)
{
    return (cardNumber - 1) % kCardsPerDeck / 4;
}

// The name ("ACE OF CLUBS") and point value (ace 11, faces 10) of a card number.
std::string cardName(int cardNumber);
int cardValue(int cardNumber);

// The first card, counting upward from the candidate and going round from the shoe's size to
// 1, that is not in the used list. The list must leave at least one card of the shoe undealt.
// Brings the index of dealt cards up to date with the list first.
int skipDealtCards(Shoe& shoe, int candidate);

// Deals the next card number exactly as the game deals every card, without naming it or showing
// anything: the generator gives the candidate; at a round's first card, when 8 or fewer cards
// are left, the shoe is reshuffled (the candidate survives); should a long round have dealt the
// whole shoe, the cards not on the table go back in; then the first undealt card from the
// candidate upward is dealt and recorded. The game shows its shuffle screen when `reshuffled`.
struct DealtCard {
    int card = 0;
    bool reshuffled = false;
};
DealtCard dealCard(Shoe& shoe, int deckCount, bool roundsFirstCard);
