#include "e2e/game_suite.h"

#include <gtest/gtest.h>

namespace {

// An eight-deck shoe from this start deals A10 v 4 | 86 v A, dealer K | 10 9 v A, dealer 4 6.
constexpr std::string_view kStart = "2026-03-01 12:04:50";

// The first instruction page and back, sound on, a refused deck key, eight decks; a blackjack
// paid at once, insurance won against the dealer's blackjack and lost against a 21 of three
// cards bring the bankroll back to even.
TEST(InsuranceGame, WinsAndLosesInsuranceWithSoundOnAndBreaksEven)
{
    SuiteGame game(kStart);
    PtyGame& terminal = game.terminal();

    terminal.waitForKeyRead();
    game.answer("Y");
    game.expectScreen({
        {11, 3, "* INSTRUCTIONS FOR CORVALE BLACKJACK, Version 3.1 for Windows *"},
        {40, 5, "by the Corvale Blackjack team"},
        {1, 7, "This game follows official casino rules. You bet from $5 to $100 a round and"},
        {1, 8, "play from a shoe of 1 to 8 decks; you may split pairs, double down on any"},
        {1, 9, "total, take insurance, and choose to hear the game's sound effects."},
        {1, 10, "At the start you choose the number of decks with a key from 1 to 8."},
        {1, 11, "Answers are single keys: press no Enter after choosing the decks or a letter."},
        {1, 12, "Bets are typed and ended with Enter. You are then asked for a bet of any"},
        {1, 13, "amount from 5 to 100 dollars; a bet of 999 ends the game, and Escape at a"},
        {1, 14, "set-up question or on these pages leaves the table at once."},
        {1, 15, "You play against the dealer alone, one round at a time. You are"},
        {1, 24, "Press C to continue or R to return to the game  "},
    });
    game.expectCursorAt(49, 24);

    game.answer("R");
    game.expectScreen({
        {28, 9, "CORVALE BLACKJACK"},
        {23, 21, "Do you want sound effects?  Y or N     "},
    });
    EXPECT_FALSE(game.soundWasPlayed());

    game.answer("Y");
    const ExpectedScreen deckQuestion = {
        {28, 9, "CORVALE BLACKJACK"},
        {23, 21, "How many decks, 1 to 8 \u25b2 "},
    };
    game.expectScreen(deckQuestion);
    EXPECT_TRUE(game.soundWasPlayed());
    game.answer("9");
    game.expectScreen(with(deckQuestion, {{23, 22, "Invalid key, try again!"}}));

    terminal.watchFor(23, 22, "Playing with 8 decks");
    game.answer("8");
    game.expectScreen(terminal.sighting(23, 22, "Playing with 8 decks"),
        with(deckQuestion, {{23, 22, "Playing with 8 decks          "}}));
    game.expectScreen({
        {15, 11, "* YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *"},
        {24, 13, "* The cards have been shuffled *"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1000"},
    });

    // A blackjack against a four is paid at once, written straight behind the dealer's card.
    game.bet("15");
    game.expectScreen({
        {22, 3, "You have:  ACE OF HEARTS"},
        {33, 4, "TEN OF CLUBS"},
        {24, 11, "Dealer:  FOUR OF HEARTSYou have blackjack"},
        {1, 19, "You win with blackjack"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1022.5"},
    });

    // Insurance of $10 on $20 pays 2 to 1 against the dealer's blackjack: the round is even.
    game.bet("20");
    const ExpectedScreen eightSixAgainstAnAce = {
        {22, 3, "You have:  EIGHT OF SPADES"},
        {33, 4, "SIX OF HEARTS"},
        {24, 11, "Dealer:  ACE OF SPADES"},
        {1, 19, "You have 14"},
    };
    game.expectScreen(with(eightSixAgainstAnAce, {{33, 20, "Do you want insurance?  Y or N"}}));
    game.expectCursorAt(63, 20);
    game.answer("y");
    game.expectScreen(with(eightSixAgainstAnAce, {{33, 20, kStandHitDouble}}));
    game.answer("s");
    game.expectScreen({
        {22, 3, "You have:  EIGHT OF SPADES"},
        {33, 4, "SIX OF HEARTS"},
        {24, 11, "Dealer:  ACE OF SPADES"},
        {33, 12, "KING OF HEARTS"},
        {31, 13, "* DEALER HAS BLACKJACK *"},
        {1, 19, "You have 14"},
        {41, 19, "Dealer wins with blackjack"},
        {33, 20, "Place your bet  "},
        {31, 21, "* You win on insurance *"},
        {33, 22, "Bankroll is $1022.5"},
    });

    // Insurance of $7.5 on $15 is lost when the dealer makes 21 with three cards.
    game.bet("15");
    game.answer("Y");
    game.answer("S");
    game.expectScreen({
        {22, 3, "You have:  TEN OF HEARTS"},
        {33, 4, "NINE OF CLUBS"},
        {24, 11, "Dealer:  ACE OF CLUBS"},
        {33, 12, "FOUR OF SPADES"},
        {33, 13, "SIX OF SPADES"},
        {33, 18, "Dealer wins with 21"},
        {1, 19, "You have 19"},
        {41, 19, "Dealer has 21"},
        {33, 20, "Place your bet  "},
        {31, 21, "* You lose on insurance *"},
        {33, 22, "Bankroll is $1000"},
    });

    game.bet("999");
    game.expectFarewell({{33, 12, "You broke even!"}});
    game.leave();
}

} // namespace
