#include "e2e/game_suite.h"

#include <gtest/gtest.h>

namespace {

// A one-deck shoe from this start deals J 3 v 6, K | A Q v K, 6 | 7 A v 2, 10 9 | K 3 v 5,
// 5 2 K | Q Q v A, split: 5 9 / 3 A, dealer 3 2 7 10 | 5 10 v 4, 6, dealer 2 4 4 9 | 10 4 v 6,
// 7, dealer 8 7: 44 cards, so the next round begins with the shuffle, then J 4 v 3, dealer K J.
constexpr std::string_view kStart = "2026-03-01 12:05:34";

const ExpectedScreen kTitle = {
    {22, 9, "CORVALE BLACKJACK, Version 3.1"},
    {12, 12, "CORVALE BLACKJACK, Version 3.1, by the Corvale Blackjack team"},
    {40, 13, "The project and its notes: README.md"},
    {1, 15, "This game is free software under the MIT licence: you may use, copy, change"},
    {1, 16, "and share it freely. It comes with no warranty; see the LICENSE file."},
};

// Ignored keys at the questions, two refused deck keys, then one deck; seven rounds through a
// bust, a blackjack, a split with both hands doubled and a double down use up the shoe, the
// eighth round starts with the shuffle screen, and the player leaves $62.5 up.
TEST(OneDeckGame, PlaysThroughTheShoeToTheShuffleAndLeavesAWinner)
{
    SuiteGame game(kStart);
    PtyGame& terminal = game.terminal();

    terminal.waitForKeyRead();
    const ExpectedScreen instructionsQuestion =
        with(kTitle, {{23, 21, "Do you want instructions?  Y or N  "}});
    game.expectScreen(instructionsQuestion);
    game.expectCursorAt(58, 21);
    game.answer("x");
    game.expectScreen(instructionsQuestion);

    game.answer("n");
    game.answer("\t");
    game.expectScreen(with(kTitle, {{23, 21, "Do you want sound effects?  Y or N     "}}));
    game.expectCursorAt(62, 21);

    game.answer("N");
    const ExpectedScreen deckQuestion = with(kTitle, {{23, 21, "How many decks, 1 to 8 \u25b2 "}});
    game.expectScreen(deckQuestion);
    game.expectCursorAt(48, 21);
    for (const std::string_view refused : {"0", "x"}) {
        game.answer(refused);
        game.expectScreen(with(deckQuestion, {{23, 22, "Invalid key, try again!"}}));
        game.expectCursorAt(48, 21);
    }

    terminal.watchFor(23, 22, "Playing with one deck");
    game.answer("1");
    game.expectScreen(terminal.sighting(23, 22, "Playing with one deck"),
        with(deckQuestion, {{23, 22, "Playing with one deck          "}}));
    game.expectScreen({
        {15, 11, "* YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *"},
        {24, 13, "* The cards have been shuffled *"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1000"},
    });
    game.expectCursorAt(49, 20);

    // A bust: the dealer's second card is never drawn.
    game.bet("10");
    game.expectScreen({
        {22, 3, "You have:  JACK OF DIAMONDS"},
        {33, 4, "THREE OF HEARTS"},
        {24, 11, "Dealer:  SIX OF HEARTS"},
        {1, 19, "You have 13"},
        {33, 20, kStandHitDouble},
    });
    game.expectCursorAt(56, 20);
    game.answer("h");
    game.expectScreen({
        {22, 3, "You have:  JACK OF DIAMONDS"},
        {33, 4, "THREE OF HEARTS"},
        {33, 5, "KING OF DIAMONDS"},
        {24, 11, "Dealer:  SIX OF HEARTS"},
        {33, 18, "You bust with 23"},
        {1, 19, "You have 23  YOU BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $990"},
    });
    game.expectCursorAt(49, 20);

    // A blackjack against a king: the dealer's second card decides, and the blackjack is
    // written straight behind it. It pays 3 to 2 on $15.
    game.bet("15");
    game.expectScreen({
        {22, 3, "You have:  ACE OF CLUBS"},
        {33, 4, "QUEEN OF SPADES"},
        {24, 11, "Dealer:  KING OF HEARTS"},
        {33, 12, "SIX OF SPADESYou have blackjack"},
        {1, 19, "You win with blackjack"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1012.5"},
    });

    // The dealer's 21 of three cards is no blackjack.
    game.bet("10");
    game.answer("s");
    game.expectScreen({
        {22, 3, "You have:  SEVEN OF CLUBS"},
        {33, 4, "ACE OF DIAMONDS"},
        {24, 11, "Dealer:  TWO OF SPADES"},
        {33, 12, "TEN OF DIAMONDS"},
        {33, 13, "NINE OF HEARTS"},
        {33, 18, "Dealer wins with 21"},
        {1, 19, "You have 18"},
        {41, 19, "Dealer has 21"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1002.5"},
    });

    game.bet("10");
    game.answer("s");
    game.expectScreen({
        {22, 3, "You have:  KING OF CLUBS"},
        {33, 4, "THREE OF CLUBS"},
        {24, 11, "Dealer:  FIVE OF HEARTS"},
        {33, 12, "FIVE OF CLUBS"},
        {33, 13, "TWO OF HEARTS"},
        {33, 14, "KING OF SPADES"},
        {33, 18, "Dealer busts - you win with 13"},
        {1, 19, "You have 13"},
        {41, 19, "Dealer has 22"},
        {57, 19, "DEALER BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1012.5"},
    });

    // Two queens against an ace: the split comes before any insurance, and both hands double.
    game.bet("10");
    game.expectScreen({
        {22, 3, "You have:  QUEEN OF CLUBS"},
        {33, 4, "QUEEN OF HEARTS"},
        {24, 11, "Dealer:  ACE OF HEARTS"},
        {33, 20, "Do you want to split this pair?  Y or N  "},
    });
    game.expectCursorAt(74, 20);
    game.answer("y");
    game.expectScreen({
        {20, 1, "First hand:  QUEEN OF CLUBS"},
        {33, 2, "FIVE OF DIAMONDS"},
        {24, 15, "Dealer:  ACE OF HEARTS"},
        {1, 19, "First hand 15"},
        {33, 20, kStandHitDouble},
    });
    game.answer("d");
    game.expectScreen({
        {20, 1, "First hand:  QUEEN OF CLUBS"},
        {33, 2, "FIVE OF DIAMONDS"},
        {15, 3, "Your last card is NINE OF DIAMONDS"},
        {19, 4, "Second hand:  QUEEN OF HEARTS"},
        {33, 5, "THREE OF DIAMONDS"},
        {24, 15, "Dealer:  ACE OF HEARTS"},
        {1, 19, "First hand 24 BUST  Next hand 13"},
        {33, 20, kStandHitDouble},
    });
    game.answer("d");
    game.expectScreen({
        {20, 1, "First hand:  QUEEN OF CLUBS"},
        {33, 2, "FIVE OF DIAMONDS"},
        {15, 3, "Your last card is NINE OF DIAMONDS"},
        {19, 4, "Second hand:  QUEEN OF HEARTS"},
        {33, 5, "THREE OF DIAMONDS"},
        {15, 6, "Your last card is ACE OF SPADES"},
        {24, 8, "Dealer:  ACE OF HEARTS"},
        {33, 9, "THREE OF SPADES"},
        {33, 10, "TWO OF CLUBS"},
        {33, 11, "SEVEN OF DIAMONDS"},
        {33, 12, "TEN OF CLUBS"},
        {33, 18, "You lose first hand but win second"},
        {1, 19, "First hand 24 BUST  Next hand 14        Dealer has 23    DEALER BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1012.5"},
    });

    // Enter alone stakes again what the first hand ended with, $20; doubled, it wins $40.
    game.bet("");
    game.expectScreen({
        {22, 3, "You have:  FIVE OF SPADES"},
        {33, 4, "TEN OF SPADES"},
        {24, 11, "Dealer:  FOUR OF CLUBS"},
        {1, 19, "You have 15"},
        {33, 20, kStandHitDouble},
    });
    game.answer("d");
    game.expectScreen({
        {22, 3, "You have:  FIVE OF SPADES"},
        {33, 4, "TEN OF SPADES"},
        {22, 5, "Last card  SIX OF DIAMONDS"},
        {24, 11, "Dealer:  FOUR OF CLUBS"},
        {33, 12, "TWO OF DIAMONDS"},
        {33, 13, "FOUR OF DIAMONDS"},
        {33, 14, "FOUR OF HEARTS"},
        {33, 15, "NINE OF SPADES"},
        {33, 18, "Dealer busts - you win with 21"},
        {1, 19, "You have 21"},
        {41, 19, "Dealer has 23"},
        {57, 19, "DEALER BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1052.5"},
    });

    // A hit to 21 ends the hand without a question.
    game.bet("10");
    game.answer("h");
    game.expectScreen({
        {22, 3, "You have:  TEN OF HEARTS"},
        {33, 4, "FOUR OF SPADES"},
        {33, 5, "SEVEN OF HEARTS"},
        {24, 11, "Dealer:  SIX OF CLUBS"},
        {33, 12, "EIGHT OF SPADES"},
        {33, 13, "SEVEN OF SPADES"},
        {33, 18, "It is a push at 21"},
        {1, 19, "You have 21"},
        {41, 19, "Dealer has 21"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1052.5"},
    });

    // 44 cards are out: the first card of this round brings the shuffle.
    terminal.watchFor(20, 5, "* One moment please - time to shuffle *");
    terminal.watchFor(22, 10, "* The dealer is shuffling one deck *");
    terminal.watchFor(26, 20, "* The dealer is ready now *");
    game.bet("10");
    const ExpectedScreen shuffle = {
        {20, 5, "* One moment please - time to shuffle *"},
        {22, 10, "* The dealer is shuffling one deck *"},
        {26, 20, "* The dealer is ready now *"},
    };
    game.expectScreen(terminal.sighting(20, 5, shuffle[0].text), {shuffle[0]});
    game.expectScreen(terminal.sighting(22, 10, shuffle[1].text), {shuffle[0], shuffle[1]});
    game.expectScreen(terminal.sighting(26, 20, shuffle[2].text), shuffle);
    game.expectScreen({
        {22, 3, "You have:  JACK OF DIAMONDS"},
        {33, 4, "FOUR OF HEARTS"},
        {24, 11, "Dealer:  THREE OF CLUBS"},
        {1, 19, "You have 14"},
        {33, 20, kStandHitDouble},
    });
    game.answer("s");
    game.expectScreen({
        {22, 3, "You have:  JACK OF DIAMONDS"},
        {33, 4, "FOUR OF HEARTS"},
        {24, 11, "Dealer:  THREE OF CLUBS"},
        {33, 12, "KING OF DIAMONDS"},
        {33, 13, "JACK OF SPADES"},
        {33, 18, "Dealer busts - you win with 14"},
        {1, 19, "You have 14"},
        {41, 19, "Dealer has 23"},
        {57, 19, "DEALER BUST"},
        {33, 20, "Place your bet  "},
        {33, 22, "Bankroll is $1062.5"},
    });

    game.bet("999");
    game.expectFarewell({
        {28, 9, "Come back again hotshot!"},
        {34, 15, "You won $62.5"},
    });
    game.leave();
    EXPECT_FALSE(game.soundWasPlayed());
}

} // namespace
