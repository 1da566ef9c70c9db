#include "e2e/game_suite.h"

#include <gtest/gtest.h>

namespace {

// A three-deck shoe from this start deals 10 10 v 4, split: 6 / 3 3, dealer 8 8 | J J v 7,
// split: 3 K / 4 A, dealer K | 7 10 v Q, 8 | 6 K v 10, 3, dealer J. The games that lose their
// last $100 or keep $5 of it both need the first $900 gone, and play the same three rounds.
constexpr std::string_view kNineHundredDownStart = "2026-03-01 12:00:30";

// A two-deck shoe from this start deals J J v 10, split: 2 J / 8 10 | 6 6 v A, split: 2 / K Q,
// dealer 10 | K 4 v A, J, dealer 9 | 3 3 v 9, split: 9 / A 10, dealer 9.
constexpr std::string_view kTappedOutStart = "2026-03-01 12:06:38";

// Three rounds at $100 that lose $900: two splits, three hands of them doubled, and a double
// down that busts. The last round's stake is then played from $100 with stand or hit only.
void loseNineHundred(SuiteGame& game)
{
    game.terminal().waitForKeyRead();
    game.answer("n");
    game.answer("n");
    game.answer("3");

    game.bet("100");
    game.expectScreen({
        {22, 3, "You have:  TEN OF DIAMONDS"},
        {33, 4, "TEN OF SPADES"},
        {24, 11, "Dealer:  FOUR OF HEARTS"},
        {33, 20, "Do you want to split this pair?  Y or N  "},
    });
    game.answer("y");
    game.answer("s");
    game.answer("d");
    game.expectScreen({
        {20, 1, "First hand:  TEN OF DIAMONDS"},
        {33, 2, "SIX OF DIAMONDS"},
        {19, 3, "Second hand:  TEN OF SPADES"},
        {33, 4, "THREE OF DIAMONDS"},
        {15, 5, "Your last card is THREE OF DIAMONDS"},
        {24, 7, "Dealer:  FOUR OF HEARTS"},
        {33, 8, "EIGHT OF DIAMONDS"},
        {33, 9, "EIGHT OF HEARTS"},
        {33, 18, "Sorry, you lose both hands"},
        {1, 19, "First hand 16       Next hand 16        Dealer has 20"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $700"},
    });

    game.bet("100");
    game.answer("y");
    game.answer("d");
    game.answer("d");
    game.expectScreen({
        {20, 1, "First hand:  JACK OF HEARTS"},
        {33, 2, "THREE OF HEARTS"},
        {15, 3, "Your last card is KING OF CLUBS"},
        {19, 4, "Second hand:  JACK OF DIAMONDS"},
        {33, 5, "FOUR OF DIAMONDS"},
        {15, 6, "Your last card is ACE OF SPADES"},
        {24, 8, "Dealer:  SEVEN OF SPADES"},
        {33, 9, "KING OF HEARTS"},
        {33, 18, "Sorry, you lose both hands"},
        {1, 19, "First hand 23 BUST  Next hand 15        Dealer has 17"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $300"},
    });

    game.bet("100");
    game.answer("d");
    game.expectScreen({
        {22, 3, "You have:  SEVEN OF HEARTS"},
        {33, 4, "TEN OF HEARTS"},
        {22, 5, "Last card  EIGHT OF CLUBS"},
        {24, 11, "Dealer:  QUEEN OF HEARTS"},
        {33, 18, "You bust with 25"},
        {1, 19, "You have 25  YOU BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $100"},
    });
}

// The last round: 6 K against a ten, a three to 19, and the dealer's 20 takes the stake.
ExpectedScreen lastRound(std::string_view bankroll)
{
    return {
        {22, 3, "You have:  SIX OF CLUBS"},
        {33, 4, "KING OF SPADES"},
        {33, 5, "THREE OF SPADES"},
        {24, 11, "Dealer:  TEN OF DIAMONDS"},
        {33, 12, "JACK OF HEARTS"},
        {33, 18, "Dealer wins with 20"},
        {1, 19, "You have 19"},
        {41, 19, "Dealer has 20"},
        {33, 22, "Bankroll is $" + std::string(bankroll)},
    };
}

void playLastRound(SuiteGame& game, std::string_view stake)
{
    game.bet(stake);
    game.expectScreen({
        {22, 3, "You have:  SIX OF CLUBS"},
        {33, 4, "KING OF SPADES"},
        {24, 11, "Dealer:  TEN OF DIAMONDS"},
        {1, 19, "You have 16"},
        {33, 20, "Stand or Hit "},
    });
    game.expectCursorAt(46, 20);
    game.answer("d");   // no answer here: $100 does not cover twice the stake
    game.answer("h");
    game.terminal().press("s");
}

// $5 is still the minimum bet: the game asks for one, refuses more than the bankroll, and 999
// ends it with $995 lost.
TEST(RuinGame, FiveDollarsLeftStillBetsAndQuittingLoses995)
{
    SuiteGame game(kNineHundredDownStart);
    loseNineHundred(game);
    playLastRound(game, "95");
    game.terminal().waitForKeyRead();
    game.expectScreen(with(lastRound("5"), {{33, 20, "Place your bet  "}}));

    game.bet("100");
    // The message runs past the last column onto the next row; the stake is typed behind it.
    game.expectScreen(with(lastRound("5"), {
        {33, 20, "Bet cannot exceed your bankroll of 5 or 999 to q"},
        {1, 21, "uit, try again "},
    }));
    game.expectCursorAt(16, 21);

    game.bet("999");
    game.expectFarewell({
        {29, 9, "Better luck next time!"},
        {34, 15, "You lost $995"},
    });
    game.leave();
}

TEST(RuinGame, LosingTheLast100LeavesThePlayerBroke)
{
    SuiteGame game(kNineHundredDownStart);
    loseNineHundred(game);
    game.terminal().watchFor(33, 22, "Bankroll is $0 ");
    playLastRound(game, "100");
    game.expectScreen(game.terminal().sighting(33, 22, "Bankroll is $0 "), lastRound("0"));

    game.expectFarewell({
        {18, 9, "What a shame \u25b2 you have lost your shirt!"},
        {30, 15, "You are totally broke!"},
    });
    game.leave();
}

// Both split hands bust, so the dealer never plays; a split against the dealer's blackjack
// costs one stake; a doubled bust with insurance costs the stake and the insurance, half
// dollar included; a last split leaves $3.5.
TEST(RuinGame, HalfDollarsLeftEndTappedOutWithoutABet)
{
    SuiteGame game(kTappedOutStart);
    game.terminal().waitForKeyRead();
    game.answer("n");
    game.answer("n");
    game.answer("2");

    game.bet("100");
    game.answer("y");
    game.answer("d");
    game.expectScreen({
        {20, 1, "First hand:  JACK OF HEARTS"},
        {33, 2, "TWO OF DIAMONDS"},
        {15, 3, "Your last card is JACK OF DIAMONDS"},
        {19, 4, "Second hand:  JACK OF CLUBS"},
        {33, 5, "EIGHT OF HEARTS"},
        {24, 15, "Dealer:  TEN OF DIAMONDS"},
        {1, 19, "First hand 22 BUST  Next hand 18"},
        {33, 20, kStandHitDouble},
    });
    game.answer("d");
    game.expectScreen({
        {20, 1, "First hand:  JACK OF HEARTS"},
        {33, 2, "TWO OF DIAMONDS"},
        {15, 3, "Your last card is JACK OF DIAMONDS"},
        {19, 4, "Second hand:  JACK OF CLUBS"},
        {33, 5, "EIGHT OF HEARTS"},
        {15, 6, "Your last card is TEN OF SPADES"},
        {24, 15, "Dealer:  TEN OF DIAMONDS"},
        {33, 18, "Sorry, you lose both hands"},
        {1, 19, "First hand 22 BUST  Next hand 28  BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $600"},
    });

    game.bet("100");
    game.expectScreen({
        {22, 3, "You have:  SIX OF DIAMONDS"},
        {33, 4, "SIX OF SPADES"},
        {24, 11, "Dealer:  ACE OF CLUBS"},
        {33, 20, "Do you want to split this pair?  Y or N  "},
    });
    game.answer("y");
    game.answer("s");
    game.answer("h");
    game.expectScreen({
        {20, 1, "First hand:  SIX OF DIAMONDS"},
        {33, 2, "TWO OF DIAMONDS"},
        {19, 3, "Second hand:  SIX OF SPADES"},
        {33, 4, "KING OF CLUBS"},
        {33, 5, "QUEEN OF HEARTS"},
        {24, 7, "Dealer:  ACE OF CLUBS"},
        {33, 8, "TEN OF DIAMONDS"},
        {33, 18, "Sorry, you lose both hands"},
        {1, 19, "First hand 8        Next hand 26  BUST  * DEALER BLACKJACK *"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $500"},
    });

    game.bet("81");
    game.answer("y");
    game.answer("d");
    game.expectScreen({
        {22, 3, "You have:  KING OF SPADES"},
        {33, 4, "FOUR OF SPADES"},
        {22, 5, "Last card  JACK OF CLUBS"},
        {24, 11, "Dealer:  ACE OF SPADES"},
        {33, 12, "NINE OF SPADES"},
        {33, 18, "You bust with 24"},
        {1, 19, "You have 24  YOU BUST"},
        {33, 20, "Place your bet  "},
        {31, 21, "* You lose on insurance *"},
        {33, 22, "Bankroll is $297.5"},
    });

    game.terminal().watchFor(33, 22, "Bankroll is $3.5");
    game.bet("98");
    game.answer("y");
    game.answer("s");
    game.terminal().press("d");
    game.expectScreen(game.terminal().sighting(33, 22, "Bankroll is $3.5"), {
        {20, 1, "First hand:  THREE OF SPADES"},
        {33, 2, "NINE OF DIAMONDS"},
        {19, 3, "Second hand:  THREE OF HEARTS"},
        {33, 4, "ACE OF CLUBS"},
        {15, 5, "Your last card is TEN OF HEARTS"},
        {24, 7, "Dealer:  NINE OF CLUBS"},
        {33, 8, "NINE OF CLUBS"},
        {33, 18, "Sorry, you lose both hands"},
        {1, 19, "First hand 12       Next hand 14        Dealer has 18"},
        {33, 22, "Bankroll is $3.5"},
    });

    game.expectFarewell({
        {24, 9, "Sorry friend \u25b2 you only have $3.5"},
        {27, 12, "Not enough for the minimum bet!"},
        {25, 15, "You are just about tapped out!"},
    });
    game.leave();
}

} // namespace
