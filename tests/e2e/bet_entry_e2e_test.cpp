#include "e2e/pty_game.h"

#include <gtest/gtest.h>

namespace {

constexpr int kBackspace = 0x7f;   // what the terminal's Backspace key sends

TEST(BetEntryEndToEnd, TypedStakeIsEchoedEditedRefusedThenAccepted)
{
    PtyGame game;
    game.type("nn1");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(33, 20, 16), "Place your bet  ") << game.dump();

    game.type("2");
    game.type(std::string(1, static_cast<char>(kBackspace)));
    game.type("150");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(33, 20, 20), "Place your bet  150 ") << game.dump();

    game.type("\r");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(33, 20, 42), "Bet  must be from 5 to 100 or 999 to quit ") << game.dump();
    EXPECT_EQ(game.cursorColumn(), 75);
    EXPECT_EQ(game.cursorRow(), 20);

    game.type("25");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(75, 20, 2), "25") << game.dump();
    game.type("\r");
    game.waitForText(22, 3, "You have:  ");
}

} // namespace
