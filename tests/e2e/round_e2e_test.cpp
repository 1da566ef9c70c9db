#include "e2e/pty_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// The calendar the games start at gives the same shoe every run: with one deck or with seven
// it deals JACK OF SPADES, FOUR OF SPADES, SEVEN OF CLUBS, TWO OF HEARTS, ACE OF CLUBS, then
// (one deck) FIVE OF SPADES, SIX OF CLUBS, or (seven decks) FIVE OF SPADES, FIVE OF SPADES,
// KING OF CLUBS, THREE OF SPADES, JACK OF SPADES, QUEEN OF CLUBS, JACK OF DIAMONDS.
namespace {

const std::string kStandHitDouble = "Stand \u25b2 Hit or Double  ";

// The screen reads back in UTF-8, where the triangle takes three bytes but one column.
void expectAt(PtyGame& game, int column, int row, std::string_view text)
{
    const auto columns = std::count_if(text.begin(), text.end(), [](char byte) { return (byte & 0xC0) != 0x80; });
    EXPECT_EQ(game.textAt(column, row, static_cast<int>(columns)), text) << game.dump();
}

// Sound off, the given number of decks, and the first bet.
void sitDown(PtyGame& game, std::string_view decks, std::string_view bet)
{
    game.type("nn");
    game.type(decks);
    game.waitForKeyRead();
    game.type(bet);
    game.type("\r");
    game.waitForKeyRead();
}

void leave(PtyGame& game)
{
    game.type("999\r");
    game.waitForText(34, 22, "Press ESCAPE to exit ");
    game.press("\x1b");
    EXPECT_EQ(game.waitForExit(), 0);
}

TEST(RoundEndToEnd, HitsSoftenAnAceAndTheDealerDrawsToEighteen)
{
    PtyGame game;
    sitDown(game, "1", "10");
    expectAt(game, 22, 3, "You have:  JACK OF SPADES");
    expectAt(game, 33, 4, "FOUR OF SPADES");
    expectAt(game, 24, 11, "Dealer:  SEVEN OF CLUBS");
    expectAt(game, 1, 19, "You have 14");
    expectAt(game, 33, 20, kStandHitDouble);

    game.type("h");
    game.waitForKeyRead();
    expectAt(game, 33, 5, "TWO OF HEARTS");
    expectAt(game, 1, 19, "You have 16");
    expectAt(game, 33, 20, "Stand or Hit ");

    game.type("h");
    game.waitForKeyRead();
    expectAt(game, 33, 6, "ACE OF CLUBS");
    expectAt(game, 1, 19, "You have 17 ");

    game.type("s");
    game.waitForText(33, 20, "Place your bet  ");
    game.waitForKeyRead();
    expectAt(game, 24, 11, "Dealer:  SEVEN OF CLUBS");
    expectAt(game, 33, 12, "FIVE OF SPADES");
    expectAt(game, 33, 13, "SIX OF CLUBS");
    expectAt(game, 41, 19, "Dealer has 18");
    expectAt(game, 33, 18, "Dealer wins with 18");
    expectAt(game, 33, 22, "Bankroll is $990 ");
    leave(game);
}

TEST(RoundEndToEnd, DoubleDownThenASplitPairOfFives)
{
    PtyGame game;
    sitDown(game, "7", "10");
    game.type("d");
    game.waitForText(33, 20, "Place your bet  ");
    game.waitForKeyRead();
    expectAt(game, 22, 5, "Last card  TWO OF HEARTS");
    expectAt(game, 1, 19, "You have 16");
    expectAt(game, 33, 12, "ACE OF CLUBS");
    expectAt(game, 41, 19, "Dealer has 18");
    expectAt(game, 33, 22, "Bankroll is $980 ");

    game.type("10\r");
    game.waitForKeyRead();
    expectAt(game, 33, 3, "FIVE OF SPADES");
    expectAt(game, 33, 4, "FIVE OF SPADES");
    expectAt(game, 33, 20, "Do you want to split this pair?  Y or N  ");

    game.type("y");
    game.waitForKeyRead();
    expectAt(game, 20, 1, "First hand:  FIVE OF SPADES");
    expectAt(game, 33, 2, "THREE OF SPADES");
    expectAt(game, 24, 15, "Dealer:  KING OF CLUBS");
    expectAt(game, 1, 19, "First hand 8");
    expectAt(game, 33, 20, kStandHitDouble);

    game.type("d");
    game.waitForKeyRead();
    expectAt(game, 15, 3, "Your last card is JACK OF SPADES");
    expectAt(game, 1, 19, "First hand 18");
    expectAt(game, 19, 4, "Second hand:  FIVE OF SPADES");
    expectAt(game, 33, 5, "QUEEN OF CLUBS");
    expectAt(game, 21, 19, "Next hand 15");
    expectAt(game, 33, 20, kStandHitDouble);

    game.type("s");
    game.waitForText(33, 20, "Place your bet  ");
    game.waitForKeyRead();
    expectAt(game, 24, 7, "Dealer:  KING OF CLUBS");
    expectAt(game, 33, 8, "JACK OF DIAMONDS");
    expectAt(game, 24, 15, std::string(41, ' '));
    expectAt(game, 41, 19, "Dealer has 20");
    expectAt(game, 33, 18, "Sorry, you lose both hands");
    expectAt(game, 33, 22, "Bankroll is $950 ");
    leave(game);
}

} // namespace
