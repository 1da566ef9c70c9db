#include "flow/leaving.h"

#include "console/keys.h"
#include "table/bet_entry.h"

#include <string>

namespace {

constexpr float kStartingBankroll = 1000.0f;

void sayWon(Game& game)
{
    Console& console = game.console;
    cue(game, SoundCue::CueWinFinal);
    moveTo(console, 28, 9);
    printText(console, "Come back again hotshot!");
    moveTo(console, 34, 15);
    pauseMs(console, 200);
    printText(console, "You won $");
    printMoney(console, game.table.bankroll - kStartingBankroll);
    printLineEnd(console);
}

void sayLost(Game& game)
{
    Console& console = game.console;
    cue(game, SoundCue::CueLoseFinal);
    moveTo(console, 29, 9);
    printText(console, "Better luck next time!");
    moveTo(console, 34, 15);
    pauseMs(console, 200);
    printText(console, "You lost $");
    printMoney(console, kStartingBankroll - game.table.bankroll);
}

void sayTappedOut(Game& game)
{
    Console& console = game.console;
    cue(game, SoundCue::CueBroke);
    moveTo(console, 24, 9);
    printText(console, std::string("Sorry friend ") + kTriangle + " you only have $");
    printMoney(console, game.table.bankroll);
    moveTo(console, 27, 12);
    pauseMs(console, 200);
    printText(console, "Not enough for the minimum bet!");
    moveTo(console, 25, 15);
    pauseMs(console, 200);
    printText(console, "You are just about tapped out!");
}

void sayBroke(Game& game)
{
    Console& console = game.console;
    cue(game, SoundCue::CueBroke);
    moveTo(console, 18, 9);
    printText(console, std::string("What a shame ") + kTriangle + " you have lost your shirt!");
    moveTo(console, 30, 15);
    pauseMs(console, 200);
    printText(console, "You are totally broke!");
}

void sayEven(Game& game)
{
    cue(game, SoundCue::CueEvenFinal);
    moveTo(game.console, 33, 12);
    printText(game.console, "You broke even!");
}

// The bankroll is compared exactly, as the float it is. A bankroll below 0 (possible after a
// split or insurance the player could not cover) gets no result at all.
void sayResult(Game& game)
{
    const float bankroll = game.table.bankroll;
    if (bankroll > kStartingBankroll)
        sayWon(game);
    else if (coversMinimumBet(bankroll) && bankroll < kStartingBankroll)
        sayLost(game);
    else if (bankroll > 0.0f && !coversMinimumBet(bankroll))
        sayTappedOut(game);
    else if (bankroll == 0.0f)
        sayBroke(game);
    else if (bankroll == kStartingBankroll)
        sayEven(game);
}

void sayClosingLines(Console& console)
{
    moveTo(console, 1, 17);
    printText(console, "Thank you for playing Corvale Blackjack! Ideas and fixes are welcome.\n");
    printText(console, "To find the project and its notes, see its README.md file.\n\n");
}

// Only Escape closes the farewell; when the input has ended nothing else can come, so that
// closes it too.
void waitForEscape(Console& console)
{
    for (;;) {
        const int key = readKey(console);
        if (key == kEscape || key == kEndOfInput)
            return;
    }
}

} // namespace

void leaveEarly(Game& game)
{
    clearScreen(game.console);
    moveTo(game.console, 19, 12);
    printText(game.console, "IT IS A SHAME THAT YOU MUST LEAVE SO SOON.");
    readKey(game.console);
    throw GameExit{0};
}

void sayFarewell(Game& game)
{
    Console& console = game.console;
    clearScreen(console);
    sayResult(game);
    sayClosingLines(console);
    moveTo(console, 34, 21);
    printText(console, "Bye for now pal!");
    pauseMs(console, 3000);
    moveTo(console, 34, 22);
    printText(console, "Press ESCAPE to exit ");
    waitForEscape(console);
    cue(game, SoundCue::CueGoodbye);
}
