#include "shoe/draw.h"

#include "console/scripted_backend.h"
#include "table/game.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

// A game at the table with some cards already dealt from the shoe (cards 1 upward).
struct ShoeTable {
    ScriptedBackend backend;
    Game game{backend};

    ShoeTable(int deckCount, int cardsDealt, char soundChoice = 'n')
    {
        game.table.deckCount = deckCount;
        game.table.soundChoice = soundChoice;
        game.table.roundOpen = 1;
        for (int card = 1; card <= cardsDealt; ++card)
            game.shoe.usedCards[static_cast<size_t>(card - 1)] = card;
        game.shoe.usedTop = cardsDealt > 0 ? cardsDealt - 1 : 0;
        game.shoe.cardsSinceShuffle = cardsDealt;
    }

    // The card the generator will offer next, without touching the game's own generator.
    int nextCandidate() const
    {
        Shoe probe = game.shoe;
        return nextRandom(probe) % (game.table.deckCount * kCardsPerDeck) + 1;
    }

    int draw()
    {
        game.table.drawnCardValue = 0;
        drawCard(game);
        return static_cast<int>(game.table.drawnCard);
    }

    int drawFirstOfRound()
    {
        game.table.roundOpen = 0;
        const int card = draw();
        game.table.roundOpen = 1;
        return card;
    }
};

TEST(DrawCard, FreshShoeDealsTheCandidateIntoSlotZeroThenTheNextSlot)
{
    ShoeTable table(1, 0);
    seedRandom(table.game.shoe, 1);

    // 41 mod 52 + 1: the first card of the run, with no shuffle screen.
    EXPECT_EQ(table.drawFirstOfRound(), 42);
    EXPECT_EQ(table.game.table.drawnCardName, "JACK OF DIAMONDS");
    EXPECT_EQ(table.game.table.drawnCardValue, 10);
    EXPECT_EQ(table.game.shoe.usedCards[0], 42);
    EXPECT_EQ(table.game.shoe.usedTop, 0);
    EXPECT_TRUE(table.backend.events.empty());

    // 18467 mod 52 + 1.
    EXPECT_EQ(table.draw(), 8);
    EXPECT_EQ(table.game.table.drawnCardName, "TWO OF SPADES");
    EXPECT_EQ(table.game.table.drawnCardValue, 2);
    EXPECT_EQ(table.game.shoe.usedCards[1], 8);
    EXPECT_EQ(table.game.shoe.usedTop, 1);
    EXPECT_EQ(table.game.shoe.cardsSinceShuffle, 2);
}

struct ThresholdCase {
    int deckCount;
    int cardsDealt;
    int roundOpen;
    bool reshuffles;
};

std::ostream& operator<<(std::ostream& out, const ThresholdCase& scenario)
{
    return out << scenario.deckCount << " decks, " << scenario.cardsDealt << " dealt, roundOpen "
               << scenario.roundOpen;
}

class ReshuffleThreshold : public testing::TestWithParam<ThresholdCase> {};

TEST_P(ReshuffleThreshold, ShufflesOnlyAtARoundsFirstCardWithEightOrFewerLeft)
{
    const ThresholdCase& scenario = GetParam();
    ShoeTable table(scenario.deckCount, scenario.cardsDealt);
    const int candidate = table.nextCandidate();

    table.game.table.roundOpen = scenario.roundOpen;
    const int card = table.draw();

    EXPECT_EQ(!table.backend.eventsOf("clear").empty(), scenario.reshuffles);
    if (scenario.reshuffles) {
        EXPECT_EQ(card, candidate);  // the first card of the new shoe
        EXPECT_EQ(table.game.shoe.cardsSinceShuffle, 1);
        EXPECT_EQ(table.game.shoe.usedTop, 0);
        EXPECT_EQ(table.game.shoe.usedCards[1], 0);
    } else {
        EXPECT_GT(card, scenario.cardsDealt);  // cards 1 upward are out
        EXPECT_EQ(table.game.shoe.cardsSinceShuffle, scenario.cardsDealt + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Decks, ReshuffleThreshold, testing::Values(
    ThresholdCase{1, 43, 0, false}, ThresholdCase{1, 44, 0, true}, ThresholdCase{1, 50, 1, false},
    ThresholdCase{8, 407, 0, false}, ThresholdCase{8, 408, 0, true}, ThresholdCase{8, 410, 1, false}));

struct ShuffleScreenCase {
    int deckCount;
    char soundChoice;
    std::vector<std::string> events;
};

std::ostream& operator<<(std::ostream& out, const ShuffleScreenCase& scenario)
{
    return out << scenario.deckCount << " decks, sound " << static_cast<int>(scenario.soundChoice);
}

class ShuffleScreen : public testing::TestWithParam<ShuffleScreenCase> {};

TEST_P(ShuffleScreen, ShowsItsTextsPausesAndCuesThenClears)
{
    const ShuffleScreenCase& scenario = GetParam();
    ShoeTable table(scenario.deckCount, scenario.deckCount * kCardsPerDeck - 8, scenario.soundChoice);
    table.drawFirstOfRound();
    EXPECT_EQ(table.backend.events, scenario.events);
}

const std::vector<std::string> kOneDeckWithSound = {
    "move 20,5", "text * One moment please - time to shuffle *", "pause 1000", "sound riffle.wav",
    "move 22,10", "text * The dealer is shuffling one deck *", "pause 2000",
    "sound riffle.wav", "sound tap.wav",
    "move 26,20", "text * The dealer is ready now *", "clear",
};

const std::vector<std::string> kSixDecksSilent = {
    "move 20,5", "text * One moment please - time to shuffle *", "pause 1000",
    "move 22,10", "text * The dealer is shuffling ", "text 6", "text  decks *", "pause 2000",
    "move 26,20", "text * The dealer is ready now *", "clear",
};

const std::vector<std::string> kTwoDecksEscape = {
    "move 20,5", "text * One moment please - time to shuffle *", "pause 1000",
    "move 22,10", "text * The dealer is shuffling ", "text 2", "text  decks *", "pause 2000",
    "move 26,20", "text * The dealer is ready now *", "clear",
};

INSTANTIATE_TEST_SUITE_P(Decks, ShuffleScreen, testing::Values(
    ShuffleScreenCase{1, 'y', kOneDeckWithSound}, ShuffleScreenCase{6, 'n', kSixDecksSilent},
    ShuffleScreenCase{2, '\x1b', kTwoDecksEscape}));

TEST(DrawCard, LongRoundPastTheEndOfTheShoeNeverDealsATableCardTwice)
{
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        // 40 cards out leaves 12: no shuffle at the round's first card, and a 30-card round
        // (far beyond any real hand, but splits make rounds long) empties the shoe.
        ShoeTable table(1, 40);
        seedRandom(table.game.shoe, seed);
        std::set<int> onTable{table.drawFirstOfRound()};
        for (int draw = 1; draw < 30; ++draw) {
            const int card = table.draw();
            EXPECT_TRUE(onTable.insert(card).second) << "seed " << seed << " dealt " << card << " twice";
        }
        EXPECT_TRUE(table.backend.events.empty()) << "no shuffle screen in the middle of a round";
        // The round's 30 cards are all the used list now holds, and the count agrees.
        EXPECT_EQ(table.game.shoe.cardsSinceShuffle, 30);
        EXPECT_EQ(table.game.shoe.usedTop, 29);
        EXPECT_EQ(std::set<int>(table.game.shoe.usedCards.begin(), table.game.shoe.usedCards.begin() + 30),
                  onTable);
    }
}

TEST(DrawCard, RoundHoldingTheWholeShoeStillGetsACard)
{
    ShoeTable table(1, 0);
    std::set<int> wholeDeck;
    for (int draw = 0; draw < kCardsPerDeck; ++draw)
        wholeDeck.insert(table.draw());
    EXPECT_EQ(wholeDeck.size(), 52u);

    const int card = table.draw();
    EXPECT_GE(card, 1);
    EXPECT_LE(card, 52);
    EXPECT_EQ(table.game.shoe.cardsSinceShuffle, 1);
}

} // namespace
