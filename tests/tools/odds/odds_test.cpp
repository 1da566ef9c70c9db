#include "analysis.h"
#include "dealer.h"
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

// The analysis of a shoe takes seconds under the sanitizers: each deck count is analysed once.
class ShoeOdds : public testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite()
    {
        for (const int decks : {1, 6})
            analysed_.emplace(decks, analyseShoe(decks));
    }
    static void TearDownTestSuite() { analysed_.clear(); }
    static const DeckOdds& odds() { return analysed_.at(GetParam()); }

private:
    static inline std::map<int, DeckOdds> analysed_;
};

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
    constexpr std::int64_t kHands = 2'000'000;
    const Simulation run = simulate(odds().chart, {GetParam(), kHands, 2, 1, {}});
    EXPECT_NEAR(run.fairShoe.edge, odds().edge, run.fairShoe.margin);
    EXPECT_GT(run.fairShoe.margin, 0.0);
    EXPECT_EQ(run.hands, kHands);
}

INSTANTIATE_TEST_SUITE_P(Decks, ShoeOdds, testing::Values(1, 6));

} // namespace
