#include "table/split.h"

#include "console/money.h"
#include "shoe/shoe.h"
#include "table/round_play.h"
#include "table/round_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct OutcomeCase {
    int hand;
    int dealer;
    bool dealerBlackjack;
    SplitOutcome outcome;
};

TEST(SplitHandOutcome, BustLosesFirstAndDealerBlackjackBeatsEvenTwentyOne)
{
    const OutcomeCase cases[] = {
        {20, 19, false, SplitOutcome::Win},
        {18, 18, false, SplitOutcome::Push},
        {17, 20, false, SplitOutcome::Lose},
        {21, 25, false, SplitOutcome::Win},
        {12, 25, false, SplitOutcome::Win},
        {23, 25, false, SplitOutcome::Lose},   // both bust: the hand still loses
        {23, 0, false, SplitOutcome::Lose},    // both hands bust, the dealer never played
        {21, 21, false, SplitOutcome::Push},   // a dealer 21 of three cards
        {21, 21, true, SplitOutcome::Lose},
    };
    for (const auto& hand : cases) {
        EXPECT_EQ(splitHandOutcome(hand.hand, hand.dealer, hand.dealerBlackjack), hand.outcome)
            << hand.hand << " against " << hand.dealer << (hand.dealerBlackjack ? " (blackjack)" : "");
    }
}

std::vector<std::string> lastSounds(const RoundTable& round, size_t count)
{
    const auto& sounds = round.backend.sounds;
    return {sounds.end() - static_cast<std::ptrdiff_t>(std::min(count, sounds.size())), sounds.end()};
}

TEST(SplitRound, SplitAcesTakeOneCardEachWithoutAQuestion)
{
    // Ace and ten on a split hand is a plain 21; ace and ace stand at 12.
    RoundTable round;
    ASSERT_TRUE(round.play({108995, {"ACE", "ACE", "10", "10", "ACE", "10"}}, "y")) << round.screen();

    const TableState& table = round.table;
    EXPECT_EQ(round.at(20, 1, 13 + 17), "First hand:  " + round.at(33, 1, 17));
    EXPECT_EQ(round.at(19, 3, 14), "Second hand:  ");
    EXPECT_EQ(round.at(24, 6, 9 + table.dealerUpName.size()), "Dealer:  " + table.dealerUpName);
    EXPECT_TRUE(round.blank(24, 15, 41)) << round.screen();
    EXPECT_EQ(round.at(1, 19, 13), "First hand 21");
    EXPECT_EQ(round.at(21, 19, 12), "Next hand 12");
    EXPECT_EQ(round.at(41, 19, 13), "Dealer has 20");
    EXPECT_EQ(round.at(33, 18, 34), "You win first hand but lose second");
    EXPECT_EQ(round.timesWritten("Stand or Hit ") + round.timesWritten(kDoublePrompt), 0);
    EXPECT_EQ(lastSounds(round, 2), (std::vector<std::string>{"win.wav", "lose.wav"}));
    EXPECT_EQ(round.at(33, 22, 17), "Bankroll is $1000");
}

TEST(SplitRound, BothHandsDoubledWinFourStakes)
{
    RoundTable round(100);
    ASSERT_TRUE(round.play({214254, {"8", "8", "6", "2|3", "?", "2|3", "?", "10", "10"}}, "ydd")) << round.screen();

    EXPECT_EQ(round.at(15, 3, 17), "Your last card is");
    EXPECT_EQ(round.at(15, 6, 17), "Your last card is");
    EXPECT_EQ(round.at(58, 19, 11), "DEALER BUST");
    EXPECT_EQ(round.at(33, 18, 29), "Good job!  You win both hands");
    EXPECT_EQ(round.table.bankroll, 1400.0f);
    EXPECT_EQ(round.at(33, 22, 17), "Bankroll is $1400");
    // Doubling the first hand sounds coin, card, then the card itself; the second, coin and card.
    EXPECT_EQ(round.backend.sounds,
              (std::vector<std::string>{"card.wav", "card.wav", "card.wav", "coin.wav", "card.wav", "coin.wav",
                                        "card.wav", "card.wav", "card.wav", "coin.wav", "card.wav", "card.wav",
                                        "card.wav", "win.wav", "win.wav"}));
}

TEST(SplitRound, AfterTheFirstHandDoublesTheSecondMayDoubleOnlyOnFourStakes)
{
    const Deal deal{214254, {"8", "8", "6", "2|3", "?", "2|3"}};
    const std::pair<float, std::string> cases[] = {
        {400.0f, kDoublePrompt},
        {399.5f, "Stand or Hit "},
    };
    for (const auto& [bankroll, prompt] : cases) {
        RoundTable round(100, bankroll);
        EXPECT_FALSE(round.play(deal, "yd"));
        EXPECT_EQ(round.at(33, 20, prompt.size() + 1), prompt + " ") << "bankroll " << bankroll << "\n"
                                                                      << round.screen();
    }
}

TEST(SplitRound, BothHandsBustAndTheDealerDoesNotPlay)
{
    RoundTable round;
    ASSERT_TRUE(round.play({226773, {"8", "8", "?", "8|9", "10", "8|9", "10"}}, "yhh")) << round.screen();

    const TableState& table = round.table;
    EXPECT_EQ(round.at(15, 19, 5), "BUST ");
    EXPECT_EQ(round.at(35, 19, 4), "BUST");
    EXPECT_EQ(round.at(24, 15, 9 + table.dealerUpName.size()), "Dealer:  " + table.dealerUpName);
    EXPECT_TRUE(round.blank(41, 19, 40)) << round.screen();
    EXPECT_EQ(table.dealerTotal, 0);
    EXPECT_EQ(round.at(33, 18, 26), "Sorry, you lose both hands");
    EXPECT_EQ(lastSounds(round, 2), (std::vector<std::string>{"lose.wav", "lose.wav"}));
    EXPECT_EQ(table.bankroll, 980.0f);
}

TEST(SplitRound, DealerBlackjackCostsOneInitialStakeWhateverWasDoubled)
{
    RoundTable round;
    ASSERT_TRUE(round.play({223987, {"9", "9", "ACE", "2", "?", "10", "10"}}, "yds")) << round.screen();

    EXPECT_EQ(round.at(41, 19, 20), "* DEALER BLACKJACK *");
    EXPECT_EQ(round.timesWritten("Dealer has "), 0);
    EXPECT_EQ(round.at(33, 18, 26), "Sorry, you lose both hands");
    EXPECT_EQ(round.table.bankroll, 990.0f);
}

TEST(SplitRound, ThreeCardDealerTwentyOnePushesTwoCardTwentyOnes)
{
    RoundTable round;
    ASSERT_TRUE(round.play({16797330, {"KING", "KING", "5", "ACE", "ACE", "6", "10"}}, "y")) << round.screen();

    EXPECT_EQ(round.timesWritten("Stand or Hit ") + round.timesWritten(kDoublePrompt), 0);
    EXPECT_EQ(round.at(1, 19, 13), "First hand 21");
    EXPECT_EQ(round.at(21, 19, 12), "Next hand 21");
    EXPECT_EQ(round.at(41, 19, 13), "Dealer has 21");
    EXPECT_EQ(round.at(33, 18, 26), "It is a push on both hands");
    EXPECT_EQ(lastSounds(round, 2), (std::vector<std::string>{"push.wav", "push.wav"}));
    EXPECT_EQ(round.table.bankroll, 1000.0f);
}

// Leaves only the aces, twos and threes of the shoe undealt, so that every hand of a split
// takes many cards. Returns the slot of the used list where the round's cards will start.
int leaveOnlySmallCards(Shoe& shoe)
{
    int slot = 0;
    for (int card = 1; card <= kTestDecks * kCardsPerDeck; ++card) {
        if (cardValue(card) > 3 && cardValue(card) != kAceValue)
            shoe.usedCards[static_cast<size_t>(slot++)] = card;
    }
    shoe.usedTop = slot - 1;
    return slot;
}

// The card names on the screen in reading order: down column 33, then down the second column.
std::vector<std::string> cardNamesShown(const RoundTable& round)
{
    std::vector<std::string> names;
    for (const int column : {33, 64}) {
        for (int row = 1; row <= round.backend.screen.rows(); ++row) {
            std::string text = round.at(column, row, 17);
            if (text.find(" OF ") != std::string::npos)
                names.push_back(text.erase(text.find_last_not_of(' ') + 1));
        }
    }
    return names;
}

TEST(SplitRound, CrowdedRoundShowsEveryCardInOrderWithinTheWindow)
{
    for (const int rows : {25, 24}) {
        RoundTable round;
        round.backend.screen = VirtualScreen(80, rows);
        seedRandom(round.game.shoe, 612);
        const int firstSlot = leaveOnlySmallCards(round.game.shoe);
        // Split, then hit to the end of both hands. An Up arrow answers a prompt as H and is
        // ignored by the bet line, where the input then ends.
        round.backend.type("y");
        for (int hit = 0; hit < 40; ++hit)
            round.backend.press(224, 72);
        playRounds(round.game);

        // Every card name written since the split cleared the screen is still there, in order.
        std::vector<std::string> written;
        for (const std::string& event : round.backend.events) {
            if (event == "clear")
                written.clear();
            else if (event.starts_with("text ") && event.find(" OF ") != std::string::npos && event.size() <= 22)
                written.push_back(event.substr(5));
        }
        const std::string shown = std::to_string(rows) + " rows\n" + round.screen();
        EXPECT_EQ(static_cast<int>(written.size()), round.game.shoe.usedTop - firstSlot + 1) << shown;
        EXPECT_EQ(cardNamesShown(round), written) << shown;
        for (const std::string& move : round.backend.eventsOf("move"))
            EXPECT_LE(std::stoi(move.substr(move.find(',') + 1)), 24) << move;
        EXPECT_EQ(round.at(20, 1, 13), "First hand:  ") << shown;
        EXPECT_EQ(round.at(1, 19, 11), "First hand ") << shown;
        EXPECT_EQ(round.at(21, 19, 10), "Next hand ") << shown;
        EXPECT_EQ(round.at(41, 19, 11), "Dealer has ") << shown;
        EXPECT_EQ(round.at(33, 18, 34), "You win first hand but lose second") << shown;
        EXPECT_EQ(round.at(33, 20, 16), "Place your bet  ") << shown;
        EXPECT_EQ(round.at(33, 22, 17), "Bankroll is $" + formatMoney(round.table.bankroll)) << shown;
    }
}

} // namespace
