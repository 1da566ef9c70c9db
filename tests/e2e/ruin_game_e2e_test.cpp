#include "e2e/game_suite.h"

#include <gtest/gtest.h>

namespace {

// A three-deck shoe from this start deals 10 10 v 4, split: 6 / 3 3, dealer 8 8 | J J v 7,
// split: 3 K / 4 A, dealer K | 7 10 v Q, 8 | 6 K v 10, 3, dealer J.
constexpr std::string_view kFiveDollarsLeftStart = "2026-03-01 12:00:30";

// A two-deck shoe from this start deals J J v 10, split: 2 J / 8 10 | 6 6 v A, split: 2 / K Q,
// dealer 10 | K 4 v A, J, dealer 9 | 3 3 v 9, split: 9 / A 10, dealer 9.
constexpr std::string_view kTappedOutStart = "2026-03-01 12:06:38";

// A seven-deck shoe from this start deals 9 3 v 6, 2, dealer 6 3 4 | K 5 v A, 7 | J J v 7, Q
// | 8 4 v 10, A, dealer A | 9 K v 9, Q | A Q v J, dealer A | 4 A v 2, 3, dealer 9 Q.
constexpr std::string_view kBrokeStart = "2026-03-01 12:02:37";

// Two splits at $100, three of their hands doubled, and a doubled bust lose $900; from the
// $100 left only stand or hit is offered, and $95 of it goes. $5 is still the minimum bet:
// the game asks for one, refuses more than the bankroll, and 999 ends it with $995 lost.
TEST(RuinGame, FiveDollarsLeftStillBetsAndQuittingLoses995)
{
    SuiteGame game(kFiveDollarsLeftStart);
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

    game.bet("95");
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
    game.answer("s");
    const ExpectedScreen lastRound = {
        {22, 3, "You have:  SIX OF CLUBS"},
        {33, 4, "KING OF SPADES"},
        {33, 5, "THREE OF SPADES"},
        {24, 11, "Dealer:  TEN OF DIAMONDS"},
        {33, 12, "JACK OF HEARTS"},
        {33, 18, "Dealer wins with 20"},
        {1, 19, "You have 19"},
        {41, 19, "Dealer has 20"},
        {33, 22, "Bankroll is $5"},
    };
    game.expectScreen(with(lastRound, {{33, 20, "Place your bet  "}}));

    game.bet("100");
    // The message runs past the last column onto the next row; the stake is typed behind it.
    game.expectScreen(with(lastRound, {
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

// Doubling down on anything, even 20, loses $100 a round quickly. Insurance and a split are
// declined; a double down against the dealer's blackjack costs the first stake only; a
// blackjack push changes nothing; a soft hand's last $100 goes against the dealer's 21.
TEST(RuinGame, LosingTheLast100LeavesThePlayerBroke)
{
    SuiteGame game(kBrokeStart);
    game.terminal().waitForKeyRead();
    game.answer("n");
    game.answer("n");
    game.answer("7");

    game.bet("100");
    game.answer("d");
    game.expectScreen({
        {22, 3, "You have:  NINE OF SPADES"},
        {33, 4, "THREE OF HEARTS"},
        {22, 5, "Last card  TWO OF HEARTS"},
        {24, 11, "Dealer:  SIX OF SPADES"},
        {33, 12, "SIX OF CLUBS"},
        {33, 13, "THREE OF CLUBS"},
        {33, 14, "FOUR OF HEARTS"},
        {33, 18, "Dealer wins with 19"},
        {1, 19, "You have 14"},
        {41, 19, "Dealer has 19"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $800"},
    });

    game.bet("100");
    game.answer("n");
    game.expectScreen({
        {22, 3, "You have:  KING OF HEARTS"},
        {33, 4, "FIVE OF HEARTS"},
        {24, 11, "Dealer:  ACE OF DIAMONDS"},
        {1, 19, "You have 15"},
        {33, 20, kStandHitDouble},
    });
    game.answer("d");
    game.expectScreen({
        {22, 3, "You have:  KING OF HEARTS"},
        {33, 4, "FIVE OF HEARTS"},
        {22, 5, "Last card  SEVEN OF CLUBS"},
        {24, 11, "Dealer:  ACE OF DIAMONDS"},
        {33, 18, "You bust with 22"},
        {1, 19, "You have 22  YOU BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $600"},
    });

    game.bet("100");
    game.answer("n");
    game.expectScreen({
        {22, 3, "You have:  JACK OF CLUBS"},
        {33, 4, "JACK OF DIAMONDS"},
        {24, 11, "Dealer:  SEVEN OF DIAMONDS"},
        {1, 19, "You have 20"},
        {33, 20, kStandHitDouble},
    });
    game.answer("d");
    game.expectScreen({
        {22, 3, "You have:  JACK OF CLUBS"},
        {33, 4, "JACK OF DIAMONDS"},
        {22, 5, "Last card  QUEEN OF SPADES"},
        {24, 11, "Dealer:  SEVEN OF DIAMONDS"},
        {33, 18, "You bust with 30"},
        {1, 19, "You have 30  YOU BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $400"},
    });

    game.bet("100");
    game.answer("d");
    game.expectScreen({
        {22, 3, "You have:  EIGHT OF SPADES"},
        {33, 4, "FOUR OF SPADES"},
        {22, 5, "Last card  ACE OF CLUBS"},
        {24, 11, "Dealer:  TEN OF DIAMONDS"},
        {33, 12, "ACE OF HEARTS"},
        {31, 13, "* DEALER HAS BLACKJACK *"},
        {1, 19, "You have 13"},
        {41, 19, "Dealer wins with blackjack"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $300"},
    });

    game.bet("100");
    game.answer("d");
    game.expectScreen({
        {22, 3, "You have:  NINE OF DIAMONDS"},
        {33, 4, "KING OF HEARTS"},
        {22, 5, "Last card  QUEEN OF DIAMONDS"},
        {24, 11, "Dealer:  NINE OF CLUBS"},
        {33, 18, "You bust with 29"},
        {1, 19, "You have 29  YOU BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $100"},
    });

    game.bet("100");
    game.expectScreen({
        {22, 3, "You have:  ACE OF CLUBS"},
        {33, 4, "QUEEN OF HEARTS"},
        {24, 11, "Dealer:  JACK OF HEARTS"},
        {33, 12, "ACE OF DIAMONDS"},
        {31, 13, "* DEALER ALSO HAS BLACKJACK *"},
        {33, 18, "It is a blackjack push"},
        {1, 19, "You have  blackjack"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $100"},
    });

    game.terminal().watchFor(33, 22, "Bankroll is $0 ");
    game.bet("100");
    game.expectScreen({
        {22, 3, "You have:  FOUR OF CLUBS"},
        {33, 4, "ACE OF CLUBS"},
        {24, 11, "Dealer:  TWO OF CLUBS"},
        {1, 19, "You have 15"},
        {33, 20, "Stand or Hit "},
    });
    game.answer("h");
    game.terminal().press("s");
    game.expectScreen(game.terminal().sighting(33, 22, "Bankroll is $0 "), {
        {22, 3, "You have:  FOUR OF CLUBS"},
        {33, 4, "ACE OF CLUBS"},
        {33, 5, "THREE OF SPADES"},
        {24, 11, "Dealer:  TWO OF CLUBS"},
        {33, 12, "NINE OF SPADES"},
        {33, 13, "QUEEN OF SPADES"},
        {33, 18, "Dealer wins with 21"},
        {1, 19, "You have 18"},
        {41, 19, "Dealer has 21"},
        {33, 22, "Bankroll is $0"},
    });

    game.expectFarewell({
        {18, 9, "What a shame \u25b2 you have lost your shirt!"},
        {30, 15, "You are totally broke!"},
    });
    game.leave();
}

} // namespace
