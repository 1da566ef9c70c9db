#include "shoe/draw.h"

#include "console/console.h"
#include "table/game.h"

#include <algorithm>

namespace {

// A round may begin only while more than this many cards are left undealt.
constexpr int kReserveCards = 8;

constexpr int kFirstShufflePauseMs = 1000;
constexpr int kSecondShufflePauseMs = 2000;

// Entries in the used list: slots 0 to usedTop, or none when slot 0 is empty.
int dealtCount(const Shoe& shoe)
{
    return shoe.usedCards[0] > 0 ? shoe.usedTop + 1 : 0;
}

void emptyUsedList(Shoe& shoe)
{
    shoe.usedCards.fill(0);
    shoe.usedTop = 0;
    shoe.cardsSinceShuffle = 0;
    shoe.roundFirstSlot = 0;
}

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

// A long round has dealt the whole shoe. The cards out on the table stay out; every other card
// goes back in, without a shuffle screen, and the round goes on. Should the round itself hold
// the whole shoe, nothing can stay out and the shoe starts afresh.
void returnCardsOffTable(Shoe& shoe)
{
    const int firstSlot = std::clamp(shoe.roundFirstSlot, 0, shoe.usedTop);
    const int onTable = shoe.usedTop - firstSlot + 1;
    if (onTable >= shoe.shoeSize) {
        emptyUsedList(shoe);
        return;
    }
    const auto roundBegin = shoe.usedCards.begin() + firstSlot;
    const auto roundEnd = shoe.usedCards.begin() + shoe.usedTop + 1;
    std::copy(roundBegin, roundEnd, shoe.usedCards.begin());
    std::fill(shoe.usedCards.begin() + onTable, shoe.usedCards.end(), 0);
    shoe.usedTop = onTable - 1;
    shoe.cardsSinceShuffle = onTable;
    shoe.roundFirstSlot = 0;
}

// The first card after start-up or a reshuffle goes into slot 0, every later one into the next.
void recordCard(Shoe& shoe, int card)
{
    if (shoe.usedCards[0] > 0)
        ++shoe.usedTop;
    shoe.usedCards[static_cast<size_t>(shoe.usedTop)] = card;
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
    Shoe& shoe = game.shoe;
    TableState& table = game.table;
    // The shoe holds 1 to 8 decks; the clamp keeps the used list within its slots.
    shoe.shoeSize = std::clamp(table.deckCount, 1, kMaxDecks) * kCardsPerDeck;

    // The candidate is drawn before any reshuffle and survives it.
    const int candidate = nextRandom(shoe) % shoe.shoeSize + 1;

    if (shoe.cardsSinceShuffle >= shoe.shoeSize - kReserveCards && table.roundOpen == 0) {
        showShuffle(game);
        emptyUsedList(shoe);
    }
    if (dealtCount(shoe) >= shoe.shoeSize)
        returnCardsOffTable(shoe);

    const int card = skipDealtCards(shoe, candidate);
    recordCard(shoe, card);
    if (table.roundOpen == 0)
        shoe.roundFirstSlot = shoe.usedTop;
    table.drawnCard = static_cast<std::uint32_t>(card);
    nameCard(table, card);
    ++shoe.cardsSinceShuffle;
}
