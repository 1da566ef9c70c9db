// The Windows game (BLACKJACK_WINDOWS_GAME) played under Wine (BLACKJACK_WINE) in a
// pseudo-terminal, onto which Wine's console draws the game's screen buffer: the title, the
// three set-up answers, one round, 999 and the farewell. The deal is whatever the calendar
// gives, so the round is played by reading its prompts.
#include "e2e/pty_game.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kLook{10};

std::string fromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The first columns of the prompt line, enough to tell its questions apart.
std::string promptOf(PtyGame& game)
{
    return game.textAt(33, 20, 14);
}

// Sends the key, then waits until the question it answers has left the prompt line.
void answer(PtyGame& game, std::string_view key, const std::string& prompt)
{
    game.typeAhead(key);
    const auto deadline = std::chrono::steady_clock::now() + PtyGame::kPatience;
    while (promptOf(game) == prompt) {
        std::this_thread::sleep_for(kLook);
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the game did not take " << key << "\n" << game.dump();
    }
}

// Stands, and declines a split or insurance, until the next bet is asked for.
void playRoundToItsEnd(PtyGame& game)
{
    const auto deadline = std::chrono::steady_clock::now() + PtyGame::kPatience;
    for (;;) {
        const std::string prompt = promptOf(game);
        if (prompt == "Place your bet")
            return;
        if (prompt.starts_with("Stand"))
            answer(game, "s", prompt);
        else if (prompt.starts_with("Do you want"))
            answer(game, "n", prompt);
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the round did not end\n" << game.dump();
        std::this_thread::sleep_for(kLook);
    }
}

TEST(WindowsGameUnderWine, plays_from_the_title_to_the_farewell)
{
    const std::string wine = fromEnvironment("BLACKJACK_WINE");
    const std::string windowsGame = fromEnvironment("BLACKJACK_WINDOWS_GAME");
    ASSERT_FALSE(wine.empty() || windowsGame.empty()) << "BLACKJACK_WINE and BLACKJACK_WINDOWS_GAME name the programs";

    // No calendar from libfaketime under Wine, and no sound drivers: without a sound card they
    // would write on the terminal beside Wine's console.
    PtyGame game(PtyGameOptions{
        .environment = {"LD_PRELOAD=", "WINEDLLOVERRIDES=winealsa.drv,winepulse.drv,wineoss.drv=d"},
        .command = {wine, windowsGame},
    });
    constexpr std::chrono::seconds kWineStart{60};
    game.waitForText(22, 9, "CORVALE BLACKJACK, Version 3.1", kWineStart);
    game.waitForText(23, 21, "Do you want instructions?  Y or N");
    game.typeAhead("n");
    game.waitForText(23, 21, "Do you want sound effects?  Y or N");
    game.typeAhead("y"); // no sound files beside it or in the working directory: silence at once
    game.waitForText(23, 21, "How many decks, 1 to 8 \u25b2");
    game.typeAhead("1");

    game.waitForText(15, 11, "* YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *");
    game.waitForText(33, 22, "Bankroll is $1000");
    game.waitForText(33, 20, "Place your bet");
    game.typeAhead("10\r");

    game.waitForText(22, 3, "You have:  ");
    game.waitForText(24, 11, "Dealer:  ");
    playRoundToItsEnd(game);
    EXPECT_EQ(game.textAt(33, 22, 13), "Bankroll is $") << game.dump();
    EXPECT_EQ(game.textAt(1, 1, 80), std::string(80, ' ')) << game.dump();

    game.typeAhead("999\r");
    game.waitForText(34, 21, "Bye for now pal!");
    game.waitForText(34, 22, "Press ESCAPE to exit");
    game.typeAhead("\x1b");
    EXPECT_EQ(game.waitForExit(), 0) << game.dump();
}

} // namespace
