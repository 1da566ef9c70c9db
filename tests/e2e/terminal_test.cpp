#include "e2e/pty_game.h"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

TEST(Terminal, every_ending_signal_gives_the_terminal_back_and_ends_the_game_by_that_signal)
{
    const std::vector<int> signals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT};
    std::vector<std::unique_ptr<PtyGame>> games;
    for (size_t i = 0; i < signals.size(); ++i)
        games.push_back(std::make_unique<PtyGame>());
    for (size_t i = 0; i < signals.size(); ++i) {
        games[i]->waitForKeyRead();
        ASSERT_TRUE(games[i]->alternateScreenShown());
        kill(games[i]->pid(), signals[i]);
    }
    for (size_t i = 0; i < signals.size(); ++i) {
        SCOPED_TRACE(strsignal(signals[i]));
        EXPECT_EQ(games[i]->waitForExit(), 128 + signals[i]);
        EXPECT_TRUE(sameModes(games[i]->modesNow(), games[i]->modesAtStart()));
        EXPECT_FALSE(games[i]->alternateScreenShown());
        EXPECT_TRUE(games[i]->cursorVisible());
    }
}

TEST(Terminal, too_small_terminal_gets_one_line_on_the_size_needed_and_status_1_before_any_drawing)
{
    PtyGame narrow({.columns = 79, .rows = 25, .environment = {}});
    PtyGame low({.columns = 80, .rows = 23, .environment = {}});
    EXPECT_EQ(narrow.waitForExit(), 1);
    EXPECT_EQ(low.waitForExit(), 1);
    EXPECT_EQ(narrow.textAt(1, 1, 66), "blackjack: needs a terminal of at least 80x24; this one is 79x25. ");
    EXPECT_EQ(low.textAt(1, 1, 66), "blackjack: needs a terminal of at least 80x24; this one is 80x23. ");
    EXPECT_EQ(narrow.row(2), std::string(79, ' '));
    EXPECT_FALSE(narrow.alternateScreenShown());
}

TEST(Terminal, separator_byte_shows_as_a_caret_outside_a_utf8_locale)
{
    PtyGame game({.environment = {"LANG=C", "LC_ALL=C"}});
    game.type("nn");
    game.waitForKeyRead();
    EXPECT_EQ(game.textAt(23, 21, 25), "How many decks, 1 to 8 ^ ") << game.dump();
}

} // namespace
