#include "flow/instructions.h"

#include "console/keys.h"
#include "flow/leaving.h"

#include <span>
#include <string_view>

namespace {

// Each page is written line after line from its start; a line ends with its own line break
// where the next one is to start on the following row.
constexpr std::string_view kRulesOverview[] = {
    "This game follows official casino rules. You bet from $5 to $100 a round and\n",
    "play from a shoe of 1 to 8 decks; you may split pairs, double down on any\n",
    "total, take insurance, and choose to hear the game's sound effects.\n",
    "At the start you choose the number of decks with a key from 1 to 8.\n",
    "Answers are single keys: press no Enter after choosing the decks or a letter.\n",
    "Bets are typed and ended with Enter. You are then asked for a bet of any\n",
    "amount from 5 to 100 dollars; a bet of 999 ends the game, and Escape at a\n",
    "set-up question or on these pages leaves the table at once.\n",
    "You play against the dealer alone, one round at a time. You are",
};

constexpr std::string_view kRulesOfPlay[] = {
    "dealt two cards and the dealer one, face up. Each hand has a point value.\n",
    "Number cards count their number; jacks, queens and kings count ten; an ace\n",
    "counts eleven, unless that would take the hand over twenty-one, and then one.\n",
    "Unless your first two cards are an ace and a ten-point card, you are asked to\n",
    "STAND, HIT or DOUBLE: press the first letter of your choice.\n",
    "STAND takes no more cards. HIT takes another card, and you may hit again.\n",
    "DOUBLE (doubling down) doubles your bet and gives you exactly one more card;\n",
    "it is offered as your first decision while your bankroll covers twice the bet.\n",
    "The aim is a higher total than the dealer's without going over twenty-one.\n",
    "An ace and a ten-point card as your first two cards make a blackjack, which\n",
    "wins one and a half times your bet, unless the dealer has blackjack too,\n",
    "which is only a tie, a push. Against a dealer's 2 to 9 it is paid at once.\n",
    "With a pair as your first two cards you are asked whether to split it: aces\n",
    "and 2s to 9s always, ten-point cards of the same rank while your bankroll\n",
    "covers twice the bet. The two hands are played one after the other, and\n",
    "split aces get only one card each. A split pair gets no blackjack credit.\n",
    "If the dealer gets blackjack after you have split or doubled, you lose only\n",
    "the initial bet.  ",
};

constexpr std::string_view kInsuranceAndDealer[] = {
    "When the dealer's first card is an ace and you hold no blackjack, you are\n",
    "asked whether you want insurance. Insurance is a side bet of half your main\n",
    "bet that the dealer will get blackjack. If the dealer does, you win twice\n",
    "the insurance bet; if not, you lose it.\n",
    "When your hand is done, the dealer plays and must hit until reaching 17 or\n",
    "more, and stands on every 17, a soft 17 (an ace counted as eleven) included.\n",
    "The shoe holds the decks you chose, and more than thirty per cent of its\n",
    "cards are worth ten. It is up to you to judge your chance of beating the\n",
    "dealer without going over twenty-one.\n",
    "\n",
    "Corvale Blackjack is free software under the MIT licence: share it freely.\n",
    "Improvements and fixes are welcome; README.md tells how to build and test.\n",
    "To find the project and what it holds, see its README.md file.\n",
    "\n",
    "For additional notes on the keys, the terminal and sound, read README.md.\n",
    "\n",
    "                   Good luck at the tables!\n",
    "\n",
    "The Corvale Blackjack developers",
};

void writeLines(Console& console, std::span<const std::string_view> lines)
{
    for (const std::string_view line : lines)
        printText(console, line);
}

void drawPage(Console& console, int page)
{
    clearScreen(console);
    if (page == 1) {
        moveTo(console, 11, 3);
        printText(console, "* INSTRUCTIONS FOR CORVALE BLACKJACK, Version 3.1 for Windows *");
        moveTo(console, 40, 5);
        printText(console, "by the Corvale Blackjack team\n\n");
        writeLines(console, kRulesOverview);
        return;
    }
    moveTo(console, 1, 2);
    if (page == 2)
        writeLines(console, kRulesOfPlay);
    else
        writeLines(console, kInsuranceAndDealer);
}

std::string_view promptOf(int page)
{
    switch (page) {
    case 1:
        return "Press C to continue or R to return to the game  ";
    case 2:
        return "Press C to continue or B to back up or R to return to the game  ";
    default:
        return "Press B to back up or R to return to the game  ";
    }
}

// The page a key leads to from this page: 0 leaves the pages, the same page means the key is
// not one of the page's keys. The end of the input leaves as Escape does.
int pageAfterKey(int page, int key)
{
    if (key == 'r' || key == kEscape || key == kEndOfInput)
        return 0;
    if (key == 'c' && page < 3)
        return page + 1;
    if (key == 'b' && page > 1)
        return page - 1;
    return page;
}

// Prompts at (1, 24) until the key is one of the page's keys; returns that key.
int askPageKey(Console& console, int page)
{
    for (;;) {
        moveTo(console, 1, 24);
        printText(console, blankField);
        moveTo(console, 1, 24);
        pauseMs(console, 200);
        printText(console, promptOf(page));
        const int key = lowerCaseKey(readKey(console));
        if (pageAfterKey(page, key) != page)
            return key;
    }
}

} // namespace

void showInstructions(Game& game)
{
    Console& console = game.console;
    int page = 1;
    int lastKey = 0;
    while (page != 0) {
        drawPage(console, page);
        lastKey = askPageKey(console, page);
        page = pageAfterKey(page, lastKey);
    }
    if (lastKey != 'r')
        leaveEarly(game);
    clearScreen(console);
    moveTo(console, 28, 9);
    printText(console, "CORVALE BLACKJACK");
}
