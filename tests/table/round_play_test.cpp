#include "table/round_play.h"

#include "table/round_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct SplitOfferCase {
    const char* pair;
    Deal deal;
    float bankroll;
    int bet;
    bool offered;
};

TEST(RoundPlay, OffersTheSplitOfEqualValuesButTenValuesOnlyAsOneRankWithTheBankroll)
{
    const SplitOfferCase cases[] = {
        {"eights, bankroll short of two bets", {268, {"EIGHT", "EIGHT", "!11"}}, 50.0f, 40, true},
        {"aces, bankroll short of the bet", {307, {"ACE", "ACE", "!11"}}, 30.0f, 40, true},
        {"king and queen", {179, {"KING", "QUEEN", "!11"}}, 1000.0f, 10, false},
        {"two kings, bankroll twice the bet", {147, {"KING", "KING", "!11"}}, 200.0f, 100, true},
        {"two kings, half a dollar short", {147, {"KING", "KING", "!11"}}, 199.5f, 100, false},
    };
    for (const auto& offer : cases) {
        RoundTable round(offer.bet, offer.bankroll);
        EXPECT_FALSE(round.play(offer.deal)) << offer.pair;
        const bool asked = round.at(33, 20, 41) == "Do you want to split this pair?  Y or N  ";
        EXPECT_EQ(asked, offer.offered) << offer.pair << "\n" << round.screen();
        if (asked) {
            // The pause before the question is spent with the cursor where the question starts.
            const auto& events = round.backend.events;
            const auto question = std::find(events.begin(), events.end(),
                                            "text Do you want to split this pair?  Y or N  ");
            ASSERT_GE(question - events.begin(), 2);
            EXPECT_EQ(std::vector<std::string>(question - 2, question),
                      (std::vector<std::string>{"move 33,20", "pause 200"})) << offer.pair;
        }
    }
}

TEST(RoundPlay, DecliningTheSplitOfAcesPlaysTwelveWithASoftAce)
{
    // A ten on the soft 12 spends the ace and leaves 12 again.
    RoundTable round;
    ASSERT_TRUE(round.play({689, {"ACE", "ACE", "!11", "10"}}, "nhs")) << round.screen();

    EXPECT_EQ(round.timesWritten("12"), 2);
    EXPECT_EQ(round.at(1, 19, 11), "You have 12");
    EXPECT_TRUE(round.blank(14, 19, 8)) << round.screen();
}

TEST(RoundPlay, BlackjackAgainstTwoToNineIsPaidAtOnceBesideTheDealersCard)
{
    RoundTable round;
    ASSERT_TRUE(round.play({450, {"ACE", "10", "7"}})) << round.screen();

    const std::string upCard = round.table.dealerUpName;
    EXPECT_EQ(round.at(33, 11, upCard.size() + 18), upCard + "You have blackjack");
    EXPECT_EQ(round.at(1, 19, 22), "You win with blackjack");
    EXPECT_TRUE(round.blank(33, 12, 30)) << "the dealer drew\n" << round.screen();
    EXPECT_EQ(round.at(33, 22, 17), "Bankroll is $1015");
    EXPECT_EQ(round.backend.sounds, (std::vector<std::string>{"card.wav", "card.wav", "card.wav", "bj.wav"}));
}

struct BlackjackAgainstAceCase {
    const char* dealerCards;
    Deal deal;
    bool paid;   // else a blackjack push
};

TEST(RoundPlay, BlackjackAgainstADealerAceWaitsForTheDealersSecondCard)
{
    const BlackjackAgainstAceCase cases[] = {
        {"ace and ten", {6741, {"ACE", "10", "ACE", "10"}}, false},
        {"ace and seven", {19052, {"ACE", "10", "ACE", "7"}}, true},
        {"two aces", {7903, {"ACE", "10", "ACE", "ACE"}}, true},
    };
    for (const auto& dealt : cases) {
        RoundTable round;
        ASSERT_TRUE(round.play(dealt.deal)) << dealt.dealerCards;

        const std::string shown = std::string(dealt.dealerCards) + "\n" + round.screen();
        EXPECT_EQ(round.timesWritten("Do you want insurance?  Y or N"), 0) << shown;
        if (dealt.paid) {
            const std::string secondCard = dealtCards(dealt.deal.seed, kTestDecks, 4).back();
            EXPECT_EQ(round.at(33, 12, secondCard.size() + 18), secondCard + "You have blackjack") << shown;
            EXPECT_EQ(round.at(1, 19, 22), "You win with blackjack") << shown;
            EXPECT_TRUE(round.blank(41, 19, 40)) << shown;
            EXPECT_EQ(round.table.bankroll, 1015.0f) << shown;
        } else {
            EXPECT_EQ(round.at(31, 13, 29), "* DEALER ALSO HAS BLACKJACK *") << shown;
            EXPECT_EQ(round.at(1, 19, 19), "You have  blackjack") << shown;
            EXPECT_EQ(round.at(33, 18, 22), "It is a blackjack push") << shown;
            EXPECT_EQ(round.table.bankroll, 1000.0f) << shown;
        }
    }
}

TEST(RoundPlay, DoubleDownIsOfferedWhileTheBankrollCoversTwiceTheBet)
{
    const Deal seventeen{20, {"10", "7", "!11"}};
    const std::pair<float, std::string> cases[] = {
        {200.0f, kDoublePrompt},
        {199.5f, "Stand or Hit "},
    };
    for (const auto& [bankroll, prompt] : cases) {
        RoundTable round(100, bankroll);
        EXPECT_FALSE(round.play(seventeen));
        EXPECT_EQ(round.at(33, 20, prompt.size() + 1), prompt + " ") << "bankroll " << bankroll << "\n"
                                                                      << round.screen();
    }
}

TEST(RoundPlay, DoubleDownOnFiveTakesOneCardBesideLastCardAndSettlesTheDoubledBet)
{
    RoundTable round;
    ASSERT_TRUE(round.play({107022, {"TWO", "THREE", "6", "10", "10", "10"}}, "d")) << round.screen();

    EXPECT_EQ(round.at(22, 5, 9), "Last card");
    EXPECT_EQ(round.at(1, 19, 11), "You have 15");
    EXPECT_EQ(round.timesWritten("Stand or Hit "), 0);
    EXPECT_EQ(round.at(41, 19, 13), "Dealer has 26");
    EXPECT_EQ(round.at(57, 19, 11), "DEALER BUST");
    EXPECT_EQ(round.at(33, 18, 30), "Dealer busts - you win with 15");
    EXPECT_EQ(round.table.bankroll, 1020.0f);
    EXPECT_EQ(round.backend.sounds, (std::vector<std::string>{"card.wav", "card.wav", "card.wav", "coin.wav",
                                                              "card.wav", "card.wav", "card.wav", "win.wav"}));
}

TEST(RoundPlay, DoubleDownThenDealerBlackjackLosesOnlyTheOpeningStake)
{
    RoundTable round;
    ASSERT_TRUE(round.play({10379, {"6", "5", "10", "?", "ACE"}}, "d")) << round.screen();

    EXPECT_EQ(round.at(31, 13, 24), "* DEALER HAS BLACKJACK *");
    EXPECT_EQ(round.at(41, 19, 26), "Dealer wins with blackjack");
    EXPECT_EQ(round.table.bankroll, 990.0f);
}

TEST(RoundPlay, HittingToTwentyOneEndsTheHandAndTheDealerPlays)
{
    RoundTable round;
    ASSERT_TRUE(round.play({4176, {"10", "6", "7", "5", "10"}}, "h")) << round.screen();

    EXPECT_EQ(round.at(1, 19, 11), "You have 21");
    EXPECT_EQ(round.timesWritten("Stand or Hit "), 0);
    EXPECT_EQ(round.at(41, 19, 13), "Dealer has 17");
    EXPECT_EQ(round.at(33, 18, 27), "You beat the dealer with 21");
    EXPECT_EQ(round.table.bankroll, 1010.0f);
}

TEST(RoundPlay, DealerStandsOnSoftSeventeenAndDrawsOnTwoAces)
{
    const std::pair<Deal, int> cases[] = {
        {{399, {"10", "9", "ACE", "6"}}, 2},
        {{15610, {"10", "9", "ACE", "ACE", "5"}}, 3},
    };
    for (const auto& [deal, dealerCards] : cases) {
        RoundTable round;
        ASSERT_TRUE(round.play(deal, "ns")) << round.screen();

        EXPECT_EQ(round.at(41, 19, 13), "Dealer has 17") << round.screen();
        EXPECT_FALSE(round.blank(33, 10 + dealerCards, 1)) << round.screen();
        EXPECT_TRUE(round.blank(33, 11 + dealerCards, 20)) << round.screen();
        EXPECT_EQ(round.at(33, 18, 27), "You beat the dealer with 19") << round.screen();
    }
}

struct BustCase {
    const char* insurance;
    Deal deal;
    std::string keys;
    int bet;
    float bankroll;
    std::string insuranceNote;
    std::vector<std::string> afterBust;   // the first pause and card sound after "YOU BUST"
};

std::vector<std::string> pausesAndCardsAfterBust(const ScriptedBackend& backend)
{
    std::vector<std::string> found;
    const auto& events = backend.events;
    auto event = std::find(events.begin(), events.end(), "text YOU BUST");
    for (; event != events.end() && found.size() < 2; ++event) {
        if (event->starts_with("pause ") || *event == "sound card.wav")
            found.push_back(*event);
    }
    return found;
}

TEST(RoundPlay, PlayerBustSettlesTheInsuranceOnTheDealersSecondCardToTheHalfDollar)
{
    const BustCase cases[] = {
        {"none", {3, {"10", "6", "!11", "10"}}, "h", 10, 990.0f, "", {"pause 1000", "pause 1000"}},
        {"won", {925, {"10", "6", "ACE", "10", "10"}}, "yh", 10, 1000.0f, "* You win on insurance *",
            {"pause 500", "sound card.wav"}},
        {"lost", {163, {"10", "6", "ACE", "10", "!10"}}, "yh", 15, 977.5f, "* You lose on insurance *",
            {"pause 500", "sound card.wav"}},
    };
    for (const auto& bust : cases) {
        RoundTable round(bust.bet);
        ASSERT_TRUE(round.play(bust.deal, bust.keys)) << bust.insurance;

        const std::string shown = std::string(bust.insurance) + "\n" + round.screen();
        EXPECT_EQ(round.at(14, 19, 8), "YOU BUST") << shown;
        EXPECT_EQ(round.at(33, 18, 16), "You bust with 26") << shown;
        EXPECT_TRUE(round.blank(41, 19, 11)) << shown;
        EXPECT_EQ(round.table.bankroll, bust.bankroll) << shown;
        EXPECT_EQ(round.blank(33, 12, 1), bust.insuranceNote.empty()) << shown;
        EXPECT_EQ(pausesAndCardsAfterBust(round.backend), bust.afterBust) << shown;
        if (!bust.insuranceNote.empty()) {
            EXPECT_EQ(round.at(31, 21, bust.insuranceNote.size()), bust.insuranceNote) << shown;
        }
    }
}

TEST(RoundPlay, SeventhHitCardIsWrittenOverTheDealersCard)
{
    const Deal deal{124680601, {"TWO", "TWO", "!11", "2|3", "2|3", "2|3", "2|3", "2|3", "2|3", "10"}};
    RoundTable round;
    ASSERT_TRUE(round.play(deal, "nhhhhhhh")) << round.screen();

    const std::string seventh = dealtCards(deal.seed, kTestDecks, 10).back();
    EXPECT_EQ(round.at(33, 11, seventh.size()), seventh) << round.screen();
    EXPECT_EQ(round.at(24, 11, 9), "Dealer:  ");
    EXPECT_EQ(round.at(14, 19, 8), "YOU BUST");
}

TEST(RoundPlay, BetOf999EndsPlayAtTheNextPass)
{
    RoundTable idle(999);
    playRounds(idle.game);
    EXPECT_TRUE(idle.backend.events.empty());

    RoundTable round;
    round.backend.typeLine("999");
    ASSERT_TRUE(round.play({450, {"ACE", "10", "7"}}));
    EXPECT_EQ(round.timesWritten("Place your bet  "), 1);
    EXPECT_EQ(round.backend.eventsOf("clear").size(), 1u);
}

TEST(RoundPlay, ABankrollOfFiveStillPlaysAndBetsButBelowFivePlayEnds)
{
    const struct {
        int bet;
        float bankroll;
        float bankrollAfter;
        int betsAsked;
    } cases[] = {
        {5, 5.0f, 0.0f, 0},
        {10, 15.0f, 5.0f, 1},
        {10, 12.0f, 2.0f, 0},
    };
    for (const auto& start : cases) {
        RoundTable round(start.bet, start.bankroll);
        ASSERT_TRUE(round.play({3, {"10", "6", "!11", "10"}}, "h")) << round.screen();

        const std::string shown = "bankroll " + std::to_string(start.bankroll) + "\n" + round.screen();
        EXPECT_EQ(round.at(14, 19, 8), "YOU BUST") << shown;
        EXPECT_EQ(round.table.bankroll, start.bankrollAfter) << shown;
        EXPECT_EQ(round.timesWritten("Place your bet  "), start.betsAsked) << shown;
        EXPECT_EQ(round.backend.eventsOf("clear").size(), 1u) << shown;
    }
}

} // namespace
