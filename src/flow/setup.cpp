#include "flow/setup.h"

#include "flow/instructions.h"
#include "console/keys.h"
#include "flow/leaving.h"
#include "table/bet_entry.h"

#include <string>

namespace {

constexpr std::string_view kNoticeFirstLine =
    "This game is free software under the MIT licence: you may use, copy, change";
constexpr std::string_view kNoticeSecondLine =
    "and share it freely. It comes with no warranty; see the LICENSE file.";

void drawTitle(Game& game)
{
    Console& console = game.console;
    pauseMs(console, 500);
    moveTo(console, 22, 9);
    printText(console, "CORVALE BLACKJACK, Version 3.1");
    moveTo(console, 12, 12);
    printText(console, "CORVALE BLACKJACK, Version 3.1, by the Corvale Blackjack team");
    moveTo(console, 40, 13);
    printText(console, "The project and its notes: README.md");
    moveTo(console, 1, 15);
    printText(console, kNoticeFirstLine);
    printText(console, "\n");
    flushOutput(console);
    printText(console, kNoticeSecondLine);
    flushOutput(console);
}

// A question of the title screen at (23, 21), asked until y, n or Escape comes. Escape and the
// end of the input leave the game; otherwise the answer is returned in lower case.
int askYesNo(Game& game, std::string_view question)
{
    for (;;) {
        moveTo(game.console, 23, 21);
        pauseMs(game.console, 200);
        printText(game.console, question);
        const int key = lowerCaseKey(readKey(game.console));
        if (key == kEscape || key == kEndOfInput)
            leaveEarly(game);
        if (key == 'y' || key == 'n')
            return key;
    }
}

void askInstructions(Game& game)
{
    if (askYesNo(game, "Do you want instructions?  Y or N  ") == 'y')
        showInstructions(game);
}

void askSoundEffects(Game& game)
{
    game.table.soundChoice = static_cast<char>(askYesNo(game, "Do you want sound effects?  Y or N     "));
    cue(game, SoundCue::CueOpening);
}

void sayInvalidDeckKey(Game& game)
{
    Console& console = game.console;
    cue(game, SoundCue::CueError);
    moveTo(console, 23, 22);
    pauseMs(console, 200);
    printText(console, blankField);
    moveTo(console, 23, 22);
    pauseMs(console, 200);
    printText(console, "Invalid key, try again!");
}

void askDeckCount(Game& game)
{
    Console& console = game.console;
    const std::string prompt = std::string("How many decks, 1 to 8 ") + kTriangle + " ";
    for (;;) {
        moveTo(console, 23, 21);
        printText(console, blankField);
        moveTo(console, 23, 21);
        pauseMs(console, 200);
        printText(console, prompt);
        game.table.deckCount = readKey(console);
        if (game.table.deckCount >= '1' && game.table.deckCount <= '8')
            break;
        if (game.table.deckCount == kEscape || game.table.deckCount == kEndOfInput)
            leaveEarly(game);
        sayInvalidDeckKey(game);
    }
    game.table.deckCount -= '0';
}

// Written over "Invalid key, try again!", which both texts are long enough to cover.
void showDeckCount(Game& game)
{
    moveTo(game.console, 23, 22);
    if (game.table.deckCount == 1) {
        printText(game.console, "Playing with one deck          ");
        return;
    }
    printText(game.console, "Playing with ");
    printInt(game.console, game.table.deckCount);
    printText(game.console, " decks          ");
}

} // namespace

void showTitleScreen(Game& game)
{
    drawTitle(game);
    askInstructions(game);
    askSoundEffects(game);
    askDeckCount(game);
    showDeckCount(game);
    pauseMs(game.console, 500);
}

void takeSeat(Game& game)
{
    Console& console = game.console;
    clearScreen(console);
    moveTo(console, 15, 11);
    cue(game, SoundCue::CueChair);
    printText(console, "* YOU HAVE TAKEN A SEAT AT THE BLACKJACK TABLE *");
    moveTo(console, 24, 13);
    printText(console, "* The cards have been shuffled *");
    moveTo(console, 33, 22);
    printText(console, "Bankroll is $");
    printMoney(console, game.table.bankroll);
    enterBet(game);
}
