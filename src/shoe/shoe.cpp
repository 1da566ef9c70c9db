#include "shoe/shoe.h"

#include <string_view>

namespace {

using namespace std::string_view_literals;

constexpr std::array kRankWords = {
    "ACE"sv, "TWO"sv, "THREE"sv, "FOUR"sv, "FIVE"sv, "SIX"sv, "SEVEN"sv,
    "EIGHT"sv, "NINE"sv, "TEN"sv, "JACK"sv, "QUEEN"sv, "KING"sv,
};
constexpr std::array kRankValues = {kAceValue, 2, 3, 4, 5, 6, 7, 8, 9, kTenValue, kTenValue, kTenValue, kTenValue};
constexpr std::array kSuitWords = {"CLUBS"sv, "DIAMONDS"sv, "HEARTS"sv, "SPADES"sv};

constexpr std::uint32_t kMultiplier = 214013;
constexpr std::uint32_t kIncrement = 2531011;

// Position of a card within its deck: the four aces first, then the four twos, and so on.
size_t cardIndex(int cardNumber)
{
    return static_cast<size_t>((cardNumber - 1) % kCardsPerDeck);
}

} // namespace

void seedRandom(Shoe& shoe, std::uint32_t seed)
{
    shoe.randomState = seed;
}

int nextRandom(Shoe& shoe)
{
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's own modulus.
    shoe.randomState = shoe.randomState * kMultiplier + kIncrement;
    return static_cast<int>((shoe.randomState >> 16) & 0x7FFF);
}

std::string cardName(int cardNumber)
{
    const size_t index = cardIndex(cardNumber);
    std::string name(kRankWords[index / 4]);
    name += " OF ";
    name += kSuitWords[index % 4];
    return name;
}

int cardValue(int cardNumber)
{
    return kRankValues[cardIndex(cardNumber) / 4];
}

int skipDealtCards(const Shoe& shoe, int candidate)
{
    // Whole passes over the list, in the order the cards were dealt, until one pass finds no
    // match. The candidate only moves past dealt cards, so it stops at the first undealt one.
    // An empty list is slot 0 holding 0, which matches no card.
    bool moved = false;
    do {
        moved = false;
        for (int slot = 0; slot <= shoe.usedTop; ++slot) {
            if (shoe.usedCards[static_cast<size_t>(slot)] != candidate)
                continue;
            candidate = candidate == shoe.shoeSize ? 1 : candidate + 1;
            moved = true;
        }
    } while (moved);
    return candidate;
}
