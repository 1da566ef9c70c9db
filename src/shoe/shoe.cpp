#include "shoe/shoe.h"

#include <algorithm>
#include <bit>
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

// A round may begin only while more than this many cards are left undealt.
constexpr int kReserveCards = 8;

// The generator's number (below 2^15) modulo the size of a shoe of 1 to 8 decks, without a
// division: the number times the size's reciprocal, rounded up to 32 bits, gives the exact
// quotient, since the rounding adds less than the size times 2^15, far below 2^32. Every card
// is dealt through here, and a simulation deals hundreds of millions.
constexpr auto kShoeSizeReciprocals = [] {
    std::array<std::uint64_t, kMaxDecks + 1> reciprocals{};
    for (int decks = 1; decks <= kMaxDecks; ++decks) {
        const auto size = static_cast<std::uint64_t>(decks * kCardsPerDeck);
        reciprocals[static_cast<size_t>(decks)] = ((std::uint64_t{1} << 32) + size - 1) / size;
    }
    return reciprocals;
}();

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

int randomModuloShoeSize(int random, int decks)
{
    const auto size = static_cast<std::uint64_t>(decks * kCardsPerDeck);
    const auto number = static_cast<std::uint64_t>(random);
    const std::uint64_t quotient = number * kShoeSizeReciprocals[static_cast<size_t>(decks)] >> 32;
    return static_cast<int>(number - quotient * size);
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
    return kRankValues[static_cast<size_t>(cardRank(cardNumber))];
}

namespace {

// Entries in the used list: slots 0 to usedTop, or none when slot 0 is empty.
int dealtCount(const Shoe& shoe)
{
    return shoe.usedCards[0] > 0 ? shoe.usedTop + 1 : 0;
}

void markDealt(Shoe& shoe, int card)
{
    const auto bit = static_cast<size_t>(card - 1);
    shoe.dealtMask[bit / 64] |= std::uint64_t{1} << (bit % 64);
}

void syncDealtMask(Shoe& shoe)
{
    const int count = dealtCount(shoe);
    if (count == shoe.maskedCards)
        return;
    shoe.dealtMask.fill(0);
    for (int slot = 0; slot < count; ++slot)
        markDealt(shoe, shoe.usedCards[static_cast<size_t>(slot)]);
    shoe.maskedCards = count;
}

void emptyUsedList(Shoe& shoe)
{
    shoe.usedCards.fill(0);
    shoe.usedTop = 0;
    shoe.cardsSinceShuffle = 0;
    shoe.roundFirstSlot = 0;
    shoe.dealtMask.fill(0);
    shoe.maskedCards = 0;
}

// A long round has dealt the whole shoe. The cards out on the table stay out; every other card
// goes back in, without a shuffle screen, and the round goes on. Should the round itself hold
// the whole shoe, nothing can stay out and the shoe starts afresh.
void returnCardsOffTable(Shoe& shoe)
{
    const int firstSlot = std::clamp(shoe.roundFirstSlot, 0, shoe.usedTop);
    const int onTable = shoe.usedTop - firstSlot + 1;
    if (onTable >= shoe.shoeSize) {
        emptyUsedList(shoe);
        return;
    }
    const auto roundBegin = shoe.usedCards.begin() + firstSlot;
    const auto roundEnd = shoe.usedCards.begin() + shoe.usedTop + 1;
    std::copy(roundBegin, roundEnd, shoe.usedCards.begin());
    std::fill(shoe.usedCards.begin() + onTable, shoe.usedCards.end(), 0);
    shoe.usedTop = onTable - 1;
    shoe.cardsSinceShuffle = onTable;
    shoe.roundFirstSlot = 0;
}

// The first card after start-up or a reshuffle goes into slot 0, every later one into the next.
void recordCard(Shoe& shoe, int card)
{
    if (shoe.usedCards[0] > 0)
        ++shoe.usedTop;
    shoe.usedCards[static_cast<size_t>(shoe.usedTop)] = card;
    markDealt(shoe, card);
    ++shoe.maskedCards;
}

} // namespace

int skipDealtCards(Shoe& shoe, int candidate)
{
    // The list's own rule is whole passes over it until a pass finds no match; the candidate
    // only ever moves up past dealt cards, so it stops at the first undealt one, which the
    // index finds directly: the lowest clear bit from the candidate's, going round at the end.
    syncDealtMask(shoe);
    const auto size = static_cast<size_t>(shoe.shoeSize);
    const size_t lastWord = (size - 1) / 64;
    const std::uint64_t pastTheEnd = size % 64 == 0 ? 0 : ~std::uint64_t{0} << (size % 64);
    const auto start = static_cast<size_t>(candidate - 1);
    // The last step looks at the candidate's word again, whole, for the cards below it.
    size_t word = start / 64;
    for (size_t step = 0; step <= lastWord + 1; ++step, word = word == lastWord ? 0 : word + 1) {
        std::uint64_t undealt = ~shoe.dealtMask[word];
        if (word == lastWord)
            undealt &= ~pastTheEnd;
        if (step == 0)
            undealt &= ~std::uint64_t{0} << (start % 64);
        if (undealt != 0)
            return static_cast<int>(word * 64 + static_cast<size_t>(std::countr_zero(undealt))) + 1;
    }
    return candidate;  // a full shoe: excluded by the caller
}

DealtCard dealCard(Shoe& shoe, int deckCount, bool roundsFirstCard)
{
    // The shoe holds 1 to 8 decks; the clamp keeps the used list within its slots.
    const int decks = std::clamp(deckCount, 1, kMaxDecks);
    shoe.shoeSize = decks * kCardsPerDeck;

    // The candidate is drawn before any reshuffle and survives it.
    const int candidate = randomModuloShoeSize(nextRandom(shoe), decks) + 1;

    const bool reshuffled = roundsFirstCard && shoe.cardsSinceShuffle >= shoe.shoeSize - kReserveCards;
    if (reshuffled)
        emptyUsedList(shoe);
    if (dealtCount(shoe) >= shoe.shoeSize)
        returnCardsOffTable(shoe);

    const int card = skipDealtCards(shoe, candidate);
    recordCard(shoe, card);
    if (roundsFirstCard)
        shoe.roundFirstSlot = shoe.usedTop;
    ++shoe.cardsSinceShuffle;
    return {card, reshuffled};
}
