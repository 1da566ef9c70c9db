#include "shoe/shoe.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

TEST(RandomGenerator, SeedOneGivesTheKnownSequence)
{
    Shoe shoe;
    seedRandom(shoe, 1);
    std::vector<int> results;
    for (int draw = 0; draw < 5; ++draw)
        results.push_back(nextRandom(shoe));
    EXPECT_EQ(results, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST(RandomGenerator, EveryNumberModuloEveryShoeSizeIsExact)
{
    for (int decks = 1; decks <= kMaxDecks; ++decks) {
        for (int random = 0; random <= 32767; ++random) {
            if (randomModuloShoeSize(random, decks) != random % (decks * kCardsPerDeck))
                FAIL() << random << " modulo " << decks << " decks";
        }
    }
}

struct CardCase {
    int cardNumber;
    const char* name;
    int value;
};

std::ostream& operator<<(std::ostream& out, const CardCase& scenario)
{
    return out << "card " << scenario.cardNumber;
}

class CardNaming : public testing::TestWithParam<CardCase> {};

TEST_P(CardNaming, NamesAndValuesTheCardOfAnyDeck)
{
    EXPECT_EQ(cardName(GetParam().cardNumber), GetParam().name);
    EXPECT_EQ(cardValue(GetParam().cardNumber), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cards, CardNaming, testing::Values(
    CardCase{1, "ACE OF CLUBS", 11}, CardCase{4, "ACE OF SPADES", 11},
    CardCase{5, "TWO OF CLUBS", 2}, CardCase{10, "THREE OF DIAMONDS", 3},
    CardCase{26, "SEVEN OF DIAMONDS", 7}, CardCase{27, "SEVEN OF HEARTS", 7},
    CardCase{36, "NINE OF SPADES", 9}, CardCase{37, "TEN OF CLUBS", 10},
    CardCase{41, "JACK OF CLUBS", 10}, CardCase{46, "QUEEN OF DIAMONDS", 10},
    CardCase{52, "KING OF SPADES", 10}, CardCase{53, "ACE OF CLUBS", 11},
    CardCase{390, "SEVEN OF DIAMONDS", 7}, CardCase{391, "SEVEN OF HEARTS", 7},
    CardCase{416, "KING OF SPADES", 10}));

struct SkipCase {
    const char* scenario;
    std::vector<int> dealt;  // in the order dealt
    int shoeSize;
    int candidate;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const SkipCase& scenario)
{
    return out << scenario.scenario;
}

class SkipDealtCards : public testing::TestWithParam<SkipCase> {};

TEST_P(SkipDealtCards, FindsTheFirstUndealtCardUpward)
{
    const SkipCase& scenario = GetParam();
    Shoe shoe;
    shoe.shoeSize = scenario.shoeSize;
    for (size_t slot = 0; slot < scenario.dealt.size(); ++slot)
        shoe.usedCards[slot] = scenario.dealt[slot];
    shoe.usedTop = scenario.dealt.empty() ? 0 : static_cast<int>(scenario.dealt.size()) - 1;
    EXPECT_EQ(skipDealtCards(shoe, scenario.candidate), scenario.expected);
}

INSTANTIATE_TEST_SUITE_P(Lists, SkipDealtCards, testing::Values(
    SkipCase{"empty list keeps the candidate", {}, 52, 17, 17},
    SkipCase{"undealt candidate stands", {5, 6}, 52, 8, 8},
    SkipCase{"two dealt in order", {5, 6}, 52, 5, 7},
    SkipCase{"two dealt in reverse order", {6, 5}, 52, 5, 7},
    SkipCase{"wraps from the last card to 1", {52, 1, 2}, 52, 52, 3},
    SkipCase{"a later pass catches an earlier slot", {7, 6}, 52, 6, 8},
    SkipCase{"eight decks wrap at 416", {416, 1}, 416, 416, 2},
    SkipCase{"one card left, far round", {3, 4, 1}, 4, 3, 2}));

TEST(DealCard, TheIndexOfDealtCardsKeepsInStepWithTheUsedList)
{
    // The same deal twice: one shoe keeps its index of dealt cards from draw to draw, the other
    // rebuilds it from the used list before every draw. Rounds of 5 cards, through reshuffles.
    for (const int decks : {1, 8}) {
        Shoe kept;
        seedRandom(kept, 12345);
        Shoe rebuilt = kept;
        for (int draw = 0; draw < 3000; ++draw) {
            rebuilt.maskedCards = -1;
            const DealtCard expected = dealCard(rebuilt, decks, draw % 5 == 0);
            ASSERT_EQ(dealCard(kept, decks, draw % 5 == 0).card, expected.card) << decks << " decks, draw " << draw;
        }
    }
}

} // namespace
