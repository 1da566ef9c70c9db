#include "analysis.h"
#include "dealer.h"
#include "round.h"
#include "simulate.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <vector>

namespace {

Composition shoeOf(const std::vector<std::pair<int, int>>& valuesAndCounts)
{
    Composition shoe;
    for (const auto& [value, count] : valuesAndCounts) {
        shoe.count[static_cast<size_t>(value)] = count;
        shoe.cards += count;
    }
    return shoe;
}

struct DealerCase {
    const char* scenario;
    int up;
    std::vector<std::pair<int, int>> shoe;  // (card value, cards) left once the up card is out
    DealerOdds expected;
};

std::ostream& operator<<(std::ostream& out, const DealerCase& scenario)
{
    return out << scenario.scenario;
}

class DealerFinalTotals : public testing::TestWithParam<DealerCase> {};

TEST_P(DealerFinalTotals, FollowTheCardsLeftInTheShoe)
{
    const DealerCase& scenario = GetParam();
    const DealerOdds odds = dealerOdds(buildDealerTree(scenario.up), shoeOf(scenario.shoe));
    for (size_t final = 0; final < odds.size(); ++final)
        EXPECT_NEAR(odds[final], scenario.expected[final], 1e-12) << "final " << final;
}

//                                 17   18   19   20   21   blackjack bust
INSTANTIATE_TEST_SUITE_P(SmallShoes, DealerFinalTotals, testing::Values(
    // A ten makes 20; a six makes 16, which draws a ten and busts.
    DealerCase{"ten up, two tens and a six", 10, {{10, 2}, {6, 1}}, {0, 0, 0, 2.0 / 3, 0, 0, 1.0 / 3}},
    DealerCase{"ace up, a ten and a seven", 1, {{10, 1}, {7, 1}}, {0, 0.5, 0, 0, 0, 0.5, 0}},
    // Ace and six is a soft 17, which stands; six and ten draw the ace to a hard 17.
    DealerCase{"six up, an ace and a ten", 6, {{1, 1}, {10, 1}}, {1, 0, 0, 0, 0, 0, 0}},
    // Every order of 5, 5, 6 after a five reaches 21 on three or four cards: no blackjack.
    DealerCase{"five up, two fives and a six", 5, {{5, 2}, {6, 1}}, {0, 0, 0, 0, 1, 0, 0}},
    // A nine makes a soft 20; two aces are a soft 12, not a blackjack, and draw the nine to 21.
    DealerCase{"ace up, an ace and a nine", 1, {{1, 1}, {9, 1}}, {0, 0, 0, 0.5, 0.5, 0, 0}}));

TEST(StandValue, DealerBlackjackTakesOnlyTheFirstStakeOfADoubledHand)
{
    // Stand on 20: the dealer's 20 pushes, a bust pays.
    EXPECT_NEAR(standValue(dealerOdds(buildDealerTree(10), shoeOf({{10, 2}, {6, 1}})), 20, 1.0, 1.0), 1.0 / 3, 1e-12);
    // Against an ace with a ten and a seven left: blackjack or 18, half each.
    const DealerOdds aceUp = dealerOdds(buildDealerTree(1), shoeOf({{10, 1}, {7, 1}}));
    EXPECT_NEAR(standValue(aceUp, 20, 1.0, 1.0), 0.0, 1e-12);
    EXPECT_NEAR(standValue(aceUp, 20, 2.0, 1.0), 0.5, 1e-12);  // wins 2 on 18, loses 1 to blackjack
}

// The analysis of a shoe takes seconds under the sanitizers: each deck count is analysed once
// per test program, when a test first asks for it.
class ShoeOdds : public testing::TestWithParam<int> {
protected:
    static const DeckOdds& odds()
    {
        auto found = analysed_.find(GetParam());
        if (found == analysed_.end())
            found = analysed_.emplace(GetParam(), analyseShoe(GetParam())).first;
        return found->second;
    }

private:
    static inline std::map<int, DeckOdds> analysed_;
};

// Simulated hands are some twentyfold slower under the sanitizers.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::int64_t kScale = 10;
#else
constexpr std::int64_t kScale = 1;
#endif

TEST_P(ShoeOdds, ChartSplitsAcesAndEightsNeverTensOrFivesAndStandsOnHard17)
{
    const Chart& chart = odds().chart;
    for (size_t up = 1; up <= 10; ++up) {
        EXPECT_TRUE(chart.split[1][up]) << "aces against " << up;
        EXPECT_TRUE(chart.split[8][up]) << "eights against " << up;
        EXPECT_FALSE(chart.split[10][up]) << "tens against " << up;
        EXPECT_FALSE(chart.split[5][up]) << "fives against " << up;
        EXPECT_EQ(chart.hard[17][up], Play::Stand) << "hard 17 against " << up;
        EXPECT_FALSE(chart.hitHard[17][up]) << "hard 17 of three cards against " << up;
    }
}

TEST_P(ShoeOdds, FairShoeSimulationAgreesWithTheExactEdge)
{
    constexpr std::int64_t kHands = 2'000'000 / kScale;
    const Simulation run = simulate(odds().chart, {GetParam(), kHands, 2, 1, {}});
    EXPECT_NEAR(run.fairShoe.edge, odds().edge, run.fairShoe.margin);
    EXPECT_GT(run.fairShoe.margin, 0.0);
    EXPECT_EQ(run.hands, kHands);
}

TEST_P(ShoeOdds, SimulationGivesTheSameFiguresOnAnyNumberOfThreads)
{
    const Simulation one = simulate(odds().chart, {GetParam(), 300'000 / kScale, 1, 5, {}});
    const Simulation three = simulate(odds().chart, {GetParam(), 300'000 / kScale, 3, 5, {}});
    EXPECT_EQ(one.fairShoe.edge, three.fairShoe.edge);
    EXPECT_EQ(one.gameShoe.edge, three.gameShoe.edge);
}

INSTANTIATE_TEST_SUITE_P(Decks, ShoeOdds, testing::Values(1, 6));

// Cards in the order the game draws them: player, player, up card, then the hands and the dealer.
struct ScriptedCards {
    std::vector<int> ranks;  // 0 ace, 1 two, ... 9 ten, 10 jack, 11 queen, 12 king
    size_t drawn = 0;

    int first() { return next(); }
    int next()
    {
        if (drawn < ranks.size())
            return ranks[drawn++];
        ADD_FAILURE() << "a card drawn past the round's " << ranks.size();
        return 9;
    }
};

struct RoundCase {
    const char* scenario;
    std::vector<int> ranks;
    int halfStakes;  // the player's result
};

std::ostream& operator<<(std::ostream& out, const RoundCase& scenario)
{
    return out << scenario.scenario;
}

// A chart that stands unless told otherwise, with the few other cells these rounds need: double
// 11, split aces and eights, hit 14 to 16 against a ten.
Chart roundsChart()
{
    Chart chart;
    for (size_t up = 1; up <= 10; ++up) {
        chart.hard[11][up] = Play::Double;
        chart.split[1][up] = true;
        chart.split[8][up] = true;
    }
    for (const size_t total : {14, 15, 16})
        chart.hard[total][10] = Play::Hit;
    return chart;
}

class RoundByTheChart : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundByTheChart, SettlesAsTheTableDoes)
{
    ScriptedCards cards{GetParam().ranks};
    EXPECT_EQ(playRound(roundsChart(), cards), GetParam().halfStakes);
    EXPECT_EQ(cards.drawn, cards.ranks.size()) << "cards left unused";
}

INSTANTIATE_TEST_SUITE_P(Rounds, RoundByTheChart, testing::Values(
    RoundCase{"blackjack against a five is paid at once", {0, 12, 4}, 3},
    RoundCase{"blackjack against an ace pushes the dealer's blackjack", {0, 9, 0, 10}, 0},
    RoundCase{"blackjack against a ten is paid when no ace follows", {0, 11, 9, 8}, 3},
    RoundCase{"a double down loses one stake to a dealer blackjack", {5, 4, 9, 8, 0}, -2},
    RoundCase{"a double down wins two stakes", {5, 4, 5, 9, 9, 9}, 4},
    RoundCase{"a bust loses before the dealer draws", {9, 5, 9, 9}, -2},
    RoundCase{"the dealer stands on soft 17", {9, 7, 0, 5}, 2},
    RoundCase{"split eights lose one stake to a dealer blackjack, a double too", {7, 7, 9, 9, 2, 9, 0}, -2},
    RoundCase{"two bust split hands lose both stakes and the dealer draws nothing", {7, 7, 9, 5, 9, 6, 9}, -4},
    RoundCase{"split aces take one card each and 21 is no blackjack", {0, 0, 8, 9, 9, 9}, 4},
    RoundCase{"split aces against a three-card 21 push and lose", {0, 0, 5, 9, 8, 9, 4}, -2},
    RoundCase{"a jack and a queen are not split", {10, 11, 5, 9, 9}, 2}));

} // namespace
