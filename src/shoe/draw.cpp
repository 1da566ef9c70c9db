#include "shoe/draw.h"

#include "console/console.h"
#include "table/game.h"

namespace {

constexpr int kFirstShufflePauseMs = 1000;
constexpr int kSecondShufflePauseMs = 2000;

// The short screen the dealer shows while shuffling, on the screen round play has just cleared.
void showShuffle(Game& game)
{
    Console& console = game.console;
    moveTo(console, 20, 5);
    printText(console, "* One moment please - time to shuffle *");
    pauseMs(console, kFirstShufflePauseMs);
    cue(game, SoundCue::CueRiffle);

    moveTo(console, 22, 10);
    if (game.table.deckCount <= 1) {
        printText(console, "* The dealer is shuffling one deck *");
    } else {
        printText(console, "* The dealer is shuffling ");
        printInt(console, game.table.deckCount);
        printText(console, " decks *");
    }
    pauseMs(console, kSecondShufflePauseMs);
    cue(game, SoundCue::CueRiffle);
    cue(game, SoundCue::CueTap);

    moveTo(console, 26, 20);
    printText(console, "* The dealer is ready now *");
    clearScreen(console);
}

// Names and values the card in two halves of the deck: ACE OF CLUBS to SEVEN OF DIAMONDS, then,
// while the value is still unset, SEVEN OF HEARTS to KING OF SPADES.
void nameCard(TableState& table, int card)
{
    constexpr int kHalfDeck = kCardsPerDeck / 2;
    const int index = (card - 1) % kCardsPerDeck;
    if (index < kHalfDeck) {
        table.drawnCardName = cardName(card);
        table.drawnCardValue = cardValue(card);
    }
    if (table.drawnCardValue <= 0 && index >= kHalfDeck) {
        table.drawnCardName = cardName(card);
        table.drawnCardValue = cardValue(card);
    }
}

} // namespace

void drawCard(Game& game)
{
    TableState& table = game.table;
    const DealtCard dealt = dealCard(game.shoe, table.deckCount, table.roundOpen == 0);
    if (dealt.reshuffled)
        showShuffle(game);
    table.drawnCard = static_cast<std::uint32_t>(dealt.card);
    nameCard(table, dealt.card);
}
