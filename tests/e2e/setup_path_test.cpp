#include "e2e/pty_game.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

void expectTerminalGivenBack(PtyGame& game)
{
    EXPECT_TRUE(sameModes(game.modesNow(), game.modesAtStart()));
    EXPECT_FALSE(game.alternateScreenShown());
    EXPECT_TRUE(game.cursorVisible());
}

TEST(SetupPath, title_and_three_answers_seat_the_player_with_1000_then_999_and_escape_end_the_game)
{
    PtyGame game;
    game.waitForText(22, 9, "CORVALE BLACKJACK, Version 3.1");
    EXPECT_TRUE(game.alternateScreenShown());
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(23, 21, 35), "Do you want instructions?  Y or N  ");

    game.type("n");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(23, 21, 39), "Do you want sound effects?  Y or N     ");

    game.type("n");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(23, 21, 25), "How many decks, 1 to 8 \u25b2 ") << game.dump();

    game.type("1");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(15, 11, 48), "* YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *") << game.dump();
    EXPECT_EQ(game.textAt(33, 22, 18), "Bankroll is $1000 ");
    EXPECT_EQ(game.textAt(33, 20, 16), "Place your bet  ");
    EXPECT_EQ(game.cursorColumn(), 49);
    EXPECT_EQ(game.cursorRow(), 20);

    game.type("999\r");
    game.waitForText(34, 22, "Press ESCAPE to exit ");
    game.press("\x1b");
    EXPECT_EQ(game.waitForExit(), 0);
    expectTerminalGivenBack(game);
}

TEST(SetupPath, bet_typed_during_the_pause_before_its_prompt_starts_the_line_and_ctrl_c_in_it_interrupts)
{
    PtyGame game;
    game.type("nn1");
    game.waitForText(23, 22, "Playing with one deck");
    game.typeAhead("99");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(33, 20, 19), "Place your bet  99 ") << game.dump();
    EXPECT_EQ(game.cursorColumn(), 51);
    game.press("\x1b[D"); // an arrow has no place in a typed line
    game.type("\x7f" "99");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(33, 20, 20), "Place your bet  999 ") << game.dump();

    game.press("\x03");
    EXPECT_EQ(game.waitForExit(), 128 + SIGINT);
    expectTerminalGivenBack(game);
}

TEST(SetupPath, escape_at_the_first_question_leaves_through_the_early_exit_screen_after_a_key)
{
    PtyGame game;
    game.waitForKeyRead();
    game.press("\x1b");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(19, 12, 42), "IT IS A SHAME THAT YOU MUST LEAVE SO SOON.");
    game.type("x");
    EXPECT_EQ(game.waitForExit(), 0);
    expectTerminalGivenBack(game);
}

TEST(SetupPath, special_keys_and_ctrl_s_at_a_question_never_leave_the_game)
{
    PtyGame game;
    for (const std::string_view key : {"\x1b[A", "\x1b[3~", "\x1bOP", "\x1b[24~", "\x1b[1;5D", "\x1b[[A",
             "\x1b[99~", "\x1bx", "\x13"}) {
        game.press(key);
        game.waitForKeyRead();
        ASSERT_EQ(game.textAt(23, 21, 35), "Do you want instructions?  Y or N  ")
            << "after the key " << testing::PrintToString(std::string(key)) << "\n" << game.dump();
    }
    game.type("N");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(23, 21, 39), "Do you want sound effects?  Y or N     ");
}

TEST(SetupPath, first_key_typed_during_a_pause_answers_and_the_rest_are_thrown_away)
{
    PtyGame game;
    game.waitForText(22, 9, "CORVALE BLACKJACK, Version 3.1");
    game.typeAhead("nn1");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(23, 21, 39), "Do you want sound effects?  Y or N     ") << game.dump();
}

} // namespace
