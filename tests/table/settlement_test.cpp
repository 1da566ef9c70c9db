#include "table/settlement.h"

#include "console/money.h"
#include "console/scripted_backend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct PlacedText {
    int column;
    int row;
    const char* text;
};

struct SettleCase {
    const char* scenario;
    void (*settle)(Game&);
    float bankroll;
    int bet;                 // as round play leaves it: doubled, halved back or insurance folded in
    float insuranceBet;
    int playerTotal;
    int dealerTotal;
    int playerNatural;
    float bankrollAfter;
    std::vector<PlacedText> texts;   // besides the bankroll line
    std::vector<std::string> sounds;
    std::vector<int> pauses;
};

void PrintTo(const SettleCase& settled, std::ostream* out) { *out << settled.scenario; }

const std::vector<std::string> kWin = {"win.wav"};
const std::vector<std::string> kLose = {"lose.wav"};
const std::vector<std::string> kPush = {"push.wav"};
const std::vector<int> kLongPauses = {1000, 1000};
constexpr PlacedText kInsuranceLost = {31, 21, "* You lose on insurance *"};

// The dealer's up card as round play leaves it when a blackjack is paid at once; the cursor
// stands right behind it.
constexpr PlacedText kDealerUpCard = {33, 11, "SIX OF HEARTS"};

class Settlement : public testing::TestWithParam<SettleCase> {};

TEST_P(Settlement, ChangesTheBankrollAndShowsTheOutcome)
{
    const SettleCase& settled = GetParam();
    ScriptedBackend backend;
    Game game(backend);
    TableState& table = game.table;
    table.soundChoice = 'y';
    table.bankroll = settled.bankroll;
    table.bet = settled.bet;
    table.insuranceBet = settled.insuranceBet;
    table.playerTotal = settled.playerTotal;
    table.dealerTotal = settled.dealerTotal;
    table.playerNatural = settled.playerNatural;
    moveTo(game.console, kDealerUpCard.column, kDealerUpCard.row);
    printText(game.console, kDealerUpCard.text);

    settled.settle(game);

    EXPECT_EQ(table.bankroll, settled.bankrollAfter);
    EXPECT_EQ(table.bet, settled.bet);
    EXPECT_EQ(table.insuranceBet, settled.insuranceBet);
    EXPECT_EQ(backend.sounds, settled.sounds);
    EXPECT_EQ(backend.pauses, settled.pauses);

    VirtualScreen expected(80, 25);
    for (const PlacedText& placed : settled.texts) {
        expected.moveCursor(placed.column, placed.row);
        expected.write(placed.text);
    }
    expected.moveCursor(kDealerUpCard.column, kDealerUpCard.row);
    expected.write(kDealerUpCard.text);
    expected.moveCursor(33, 22);
    expected.write("Bankroll is $" + formatMoney(settled.bankrollAfter));
    EXPECT_EQ(backend.screen.dump(), expected.dump());

    // The bankroll line comes last, once the new amount is known.
    ASSERT_GE(backend.events.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(backend.events.end() - 3, backend.events.end()),
        (std::vector<std::string>{"move 33,22", "text Bankroll is $", "text " + formatMoney(settled.bankrollAfter)}));
}

// The net effect of every single-hand ending, with the stake B the round began with and the
// insurance I (half of B when taken): blackjack +1.5B, blackjack push 0, dealer blackjack
// -B + 2I, a win +S - I and a loss -S - I (S doubled after a double down), a push -I.
INSTANTIATE_TEST_SUITE_P(Outcomes, Settlement, testing::Values(
    SettleCase{"PlayerBlackjackPaysThreeToTwo", settleNaturals, 1000.0f, 15, 0.0f, 21, 6, 1, 1022.5f,
        {{46, 11, "You have blackjack"}, {1, 19, "You win with blackjack"}}, {"bj.wav"}, {200, 200}},
    SettleCase{"PlayerBlackjackAgainstTwoAces", settleNaturals, 1000.0f, 25, 0.0f, 21, 22, 1, 1037.5f,
        {{46, 11, "You have blackjack"}, {1, 19, "You win with blackjack"}}, {"bj.wav"}, {200, 200}},
    SettleCase{"BlackjackPush", settleBlackjackPush, 1000.0f, 20, 0.0f, 21, 21, 1, 1000.0f,
        {{1, 19, "You have  blackjack"}, {33, 18, "It is a blackjack push"}}, {"bj.wav", "push.wav"},
        {200, 200, 1000}},
    SettleCase{"DealerBlackjackWithoutInsurance", settleNaturals, 1000.0f, 10, 0.0f, 15, 21, 0, 990.0f,
        {{41, 19, "Dealer wins with blackjack"}}, kLose, {200, 1000}},
    SettleCase{"DealerBlackjackWithInsuranceBreaksEven", settleNaturals, 1000.0f, 10, 5.0f, 15, 21, 0, 1000.0f,
        {{41, 19, "Dealer wins with blackjack"}, {31, 21, "* You win on insurance *"}}, kLose, {200, 1000}},
    SettleCase{"DealerBlackjackAfterDoubleDownTakesTheFirstStake", settleNaturals, 1000.0f, 20, 0.0f, 19, 21, 0,
        980.0f, {{41, 19, "Dealer wins with blackjack"}}, kLose, {200, 1000}},
    SettleCase{"DealerBust", settleBust, 1000.0f, 10, 0.0f, 18, 23, 0, 1010.0f,
        {{33, 18, "Dealer busts - you win with 18"}}, kWin, kLongPauses},
    SettleCase{"DealerBustWithInsurance", settleBust, 1000.0f, 10, 5.0f, 18, 23, 0, 1005.0f,
        {{33, 18, "Dealer busts - you win with 18"}, kInsuranceLost}, kWin, kLongPauses},
    SettleCase{"PlayerHigher", settleComparison, 1000.0f, 10, 0.0f, 20, 18, 0, 1010.0f,
        {{33, 18, "You beat the dealer with 20"}}, kWin, kLongPauses},
    SettleCase{"PlayerHigherAfterDoubleDownWithInsurance", settleComparison, 1000.0f, 20, 5.0f, 20, 18, 0, 1015.0f,
        {{33, 18, "You beat the dealer with 20"}, kInsuranceLost}, kWin, kLongPauses},
    SettleCase{"DealerHigher", settleComparison, 1000.0f, 10, 0.0f, 17, 19, 0, 990.0f,
        {{33, 18, "Dealer wins with 19"}}, kLose, kLongPauses},
    SettleCase{"DealerHigherWithInsurance", settleComparison, 1000.0f, 10, 5.0f, 17, 19, 0, 985.0f,
        {{33, 18, "Dealer wins with 19"}, kInsuranceLost}, kLose, kLongPauses},
    SettleCase{"EqualTotals", settleComparison, 1000.0f, 10, 0.0f, 18, 18, 0, 1000.0f,
        {{33, 18, "It is a push at 18"}}, kPush, kLongPauses},
    SettleCase{"EqualTotalsWithInsurance", settleComparison, 1000.0f, 10, 5.0f, 18, 18, 0, 995.0f,
        {{33, 18, "It is a push at 18"}, kInsuranceLost}, kPush, kLongPauses},
    SettleCase{"PlayerBust", settleBust, 1022.5f, 10, 0.0f, 24, 10, 0, 1012.5f,
        {{33, 18, "You bust with 24"}}, kLose, kLongPauses},
    // After a bust round play has shown the insurance and folded it into the bet already.
    SettleCase{"PlayerBustInsuranceWon", settleBust, 1000.0f, 0, 5.0f, 23, 11, 0, 1000.0f,
        {{33, 18, "You bust with 23"}}, kLose, kLongPauses},
    SettleCase{"PlayerBustInsuranceLost", settleBust, 1000.0f, 22, 7.5f, 25, 11, 0, 978.0f,
        {{33, 18, "You bust with 25"}}, kLose, kLongPauses}),
    [](const testing::TestParamInfo<SettleCase>& tested) { return std::string(tested.param.scenario); });

} // namespace
