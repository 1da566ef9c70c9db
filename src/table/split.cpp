#include "table/split.h"

#include "table/hand.h"
#include "table/prompts.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace {

constexpr int kCardColumn = 33;
constexpr int kTotalsRow = 19;
constexpr int kDealerWaitingRow = 15;
constexpr int kPaceMs = 200;
constexpr int kHandEndPauseMs = 1000;

// A crowded round's cards go on in a second column on the right, from the top, once the rows
// above the result line (or above the waiting dealer line, while it stands) are used up. The
// longest name, 17 characters, ends there in the screen's last column. Below the result line
// the second column skips the rows whose texts reach that far (the result, the totals and
// the prompt field) and ends on the last row of the smallest window the game plays in.
constexpr int kSecondCardColumn = 64;
constexpr int kLastCardRow = 17;
constexpr int kFirstRowBelowPrompt = 21;
constexpr int kLastScreenRow = 24;

// The working values of one split round.
struct SplitRound {
    int initialBet = 0;       // the stake per hand before any doubling
    int secondHandBet = 0;
    int secondHandTotal = 0;
    int cardColumn = kCardColumn;
    int cardRow = 1;          // row of the last card name; every card goes one row further down
    int lastCardRow = kDealerWaitingRow - 1;
};

// The text written to the left of a card name in the first column, and the shorter one that
// fits to the left of the second column beside the longest name of the first.
struct CardLabel {
    int firstColumnStart;
    std::string_view firstColumnText;
    std::string_view secondColumnText;
};

constexpr CardLabel kSecondHandLabel{19, "Second hand:  ", "Second hand: "};
constexpr CardLabel kDealerLabel{24, "Dealer:  ", "Dealer:  "};
constexpr CardLabel kLastCardLabel{15, "Your last card is", "Last card "};

// How a hand shows its total and its bust on row 19. The first hand's total is rewritten
// after an erase and a short wait, the second hand's straight over the old one.
struct HandLook {
    int totalColumn;
    std::string_view totalLabel;
    bool pacedTotal;
    int bustColumn;
    std::string_view bustText;
    bool cardCueWithCoin;     // doubling the first hand sounds a card along with the coin
};

constexpr HandLook kFirstHand{1, "First hand ", true, 15, "BUST ", true};
constexpr HandLook kSecondHand{21, "Next hand ", false, 35, "BUST", false};

void writeAt(Game& game, int column, int row, std::string_view text)
{
    moveTo(game.console, column, row);
    printText(game.console, text);
}

// Goes down to the row of the next card, rows further when a gap comes first. Past the last
// row of the first column the cards go on at the top of the second.
void moveDown(SplitRound& split, int rows)
{
    split.cardRow += rows;
    if (split.cardColumn == kCardColumn) {
        if (split.cardRow > split.lastCardRow) {
            split.cardColumn = kSecondCardColumn;
            split.cardRow = 1;
        }
        return;
    }
    if (split.cardRow > kLastCardRow && split.cardRow < kFirstRowBelowPrompt)
        split.cardRow = kFirstRowBelowPrompt;
    split.cardRow = std::min(split.cardRow, kLastScreenRow);
}

void writeLabel(Game& game, const SplitRound& split, const CardLabel& label)
{
    if (split.cardColumn == kCardColumn) {
        writeAt(game, label.firstColumnStart, split.cardRow, label.firstColumnText);
        return;
    }
    const int width = static_cast<int>(label.secondColumnText.size());
    writeAt(game, kSecondCardColumn - width, split.cardRow, label.secondColumnText);
}

void writeCardName(Game& game, const SplitRound& split, std::string_view name)
{
    writeAt(game, split.cardColumn, split.cardRow, name);
}

void showCard(Game& game, const SplitRound& split)
{
    cue(game, SoundCue::CueCard);
    writeCardName(game, split, game.table.drawnCardName);
}

void showNextCard(Game& game, SplitRound& split)
{
    moveDown(split, 1);
    showCard(game, split);
}

void showHandTotal(Game& game, const HandLook& look, int total, bool replacing)
{
    if (look.pacedTotal) {
        if (replacing)
            writeAt(game, look.totalColumn, kTotalsRow, "            ");
        pauseMs(game.console, kPaceMs);
    }
    writeAt(game, look.totalColumn, kTotalsRow, look.totalLabel);
    printInt(game.console, total);
}

// Split aces take one card each; a two-card 21 stands. Otherwise the player stands, hits, or
// doubles down while the bankroll covers twice the first hand's stake, which after the first
// hand has doubled means four stakes.
void playHand(Game& game, SplitRound& split, const HandLook& look, int pairValue, int& total,
              int& stake)
{
    TableState& table = game.table;
    startHand(total, table.playerSoftAces, pairValue, table.drawnCardValue);
    showHandTotal(game, look, total, false);

    if (pairValue != kAceValue && total < kBestTotal) {
        char decision = coversTwiceStake(table.bankroll, table.bet) ? askStandHitDouble(game)
                                                                    : askStandHit(game);
        while (total < kBestTotal && (decision == 'h' || decision == 'd')) {
            dealCard(game);
            moveDown(split, 1);
            if (decision == 'd') {
                cue(game, SoundCue::CueCoin);
                stake *= 2;
                if (look.cardCueWithCoin)
                    cue(game, SoundCue::CueCard);
                writeLabel(game, split, kLastCardLabel);
                pauseMs(game.console, kPaceMs);
            }
            showCard(game, split);
            addCardToHand(total, table.playerSoftAces, table.drawnCardValue);
            showHandTotal(game, look, total, true);
            if (decision == 'd')
                break;
            if (total < kBestTotal)
                decision = askStandHit(game);
        }
    }

    if (total > kBestTotal)
        writeAt(game, look.bustColumn, kTotalsRow, look.bustText);
    pauseMs(game.console, kHandEndPauseMs);
}

void playFirstHand(Game& game, SplitRound& split)
{
    TableState& table = game.table;
    writeAt(game, 20, 1, "First hand:  ");
    writeAt(game, kCardColumn, 1, table.playerFirstName);
    dealCard(game);
    showNextCard(game, split);
    writeAt(game, 24, kDealerWaitingRow, "Dealer:  " + table.dealerUpName);
    playHand(game, split, kFirstHand, table.playerFirstValue, table.playerTotal, table.bet);
}

void playSecondHand(Game& game, SplitRound& split)
{
    TableState& table = game.table;
    table.playerSoftAces = 0;
    moveDown(split, 1);
    writeLabel(game, split, kSecondHandLabel);
    writeCardName(game, split, table.playerSecondName);
    dealCard(game);
    showNextCard(game, split);
    playHand(game, split, kSecondHand, table.playerSecondValue, split.secondHandTotal,
             split.secondHandBet);
}

// Plays the dealer's hand below the second hand: the dealer draws to 17, soft 17 included. A
// two-card 21 is a blackjack: it beats both hands but costs only one initial stake. Returns
// whether the dealer has blackjack.
bool dealerHandIsBlackjack(Game& game, SplitRound& split)
{
    TableState& table = game.table;
    // Only the waiting line itself: a crowded round may have cards beside it in the second column.
    writeAt(game, 24, kDealerWaitingRow, std::string(9 + table.dealerUpName.size(), ' '));
    split.lastCardRow = kLastCardRow;
    pauseMs(game.console, kPaceMs);
    moveDown(split, 2);   // an empty row below the second hand
    writeLabel(game, split, kDealerLabel);
    writeCardName(game, split, table.dealerUpName);
    int dealerCards = 1;
    table.dealerSoftAces += table.dealerUpValue == kAceValue ? 1 : 0;
    table.dealerTotal = table.dealerUpValue;

    while (table.dealerTotal < kDealerStandsOn) {
        dealCard(game);
        showNextCard(game, split);
        ++dealerCards;
        // A two-card 21 is never softened, so softening first changes nothing below.
        addCardToHand(table.dealerTotal, table.dealerSoftAces, table.drawnCardValue);
        if (table.dealerTotal == kBestTotal && dealerCards == 2) {
            writeAt(game, 41, kTotalsRow, "* DEALER BLACKJACK *");
            table.bet = split.initialBet;
            split.secondHandBet = 0;
            return true;
        }
    }

    pauseMs(game.console, kPaceMs);
    writeAt(game, 41, kTotalsRow, "             ");
    pauseMs(game.console, kPaceMs);
    writeAt(game, 41, kTotalsRow, "Dealer has ");
    printInt(game.console, table.dealerTotal);
    return false;
}

SoundCue cueOf(SplitOutcome outcome)
{
    switch (outcome) {
    case SplitOutcome::Win:
        return SoundCue::CueWin;
    case SplitOutcome::Lose:
        return SoundCue::CueLose;
    case SplitOutcome::Push:
        break;
    }
    return SoundCue::CuePush;
}

int signOf(SplitOutcome outcome)
{
    switch (outcome) {
    case SplitOutcome::Win:
        return 1;
    case SplitOutcome::Lose:
        return -1;
    case SplitOutcome::Push:
        break;
    }
    return 0;
}

// The result messages, by the first hand's outcome and then the second's: win, lose, push.
constexpr std::array<std::array<std::string_view, 3>, 3> kResultMessages{{
    {"Good job!  You win both hands", "You win first hand but lose second",
     "You win the first and push on the second"},
    {"You lose first hand but win second", "Sorry, you lose both hands",
     "You lose the first and push on the second"},
    {"You push on the first and win the second", "You push on the first and lose the second",
     "It is a push on both hands"},
}};

void settleHands(Game& game, const SplitRound& split, bool dealerBlackjack)
{
    TableState& table = game.table;
    const SplitOutcome first = splitHandOutcome(table.playerTotal, table.dealerTotal, dealerBlackjack);
    const SplitOutcome second =
        splitHandOutcome(split.secondHandTotal, table.dealerTotal, dealerBlackjack);
    writeAt(game, 33, 18,
            kResultMessages[static_cast<size_t>(first)][static_cast<size_t>(second)]);
    cue(game, cueOf(first));
    cue(game, cueOf(second));
    const int change = signOf(first) * table.bet + signOf(second) * split.secondHandBet;
    table.bankroll = static_cast<float>(static_cast<double>(table.bankroll) + change);
    writeAt(game, 33, 22, "Bankroll is $");
    printMoney(game.console, table.bankroll);
}

} // namespace

SplitOutcome splitHandOutcome(int handTotal, int dealerTotal, bool dealerBlackjack)
{
    if (dealerBlackjack || handTotal > kBestTotal)
        return SplitOutcome::Lose;
    if (dealerTotal > kBestTotal || handTotal > dealerTotal)
        return SplitOutcome::Win;
    return handTotal == dealerTotal ? SplitOutcome::Push : SplitOutcome::Lose;
}

void playSplit(Game& game)
{
    TableState& table = game.table;
    SplitRound split{table.bet, table.bet};
    clearScreen(game.console);
    cue(game, SoundCue::CueCoin);

    playFirstHand(game, split);
    playSecondHand(game, split);

    bool dealerBlackjack = false;
    // With both hands bust the dealer does not play; the waiting dealer line stays up.
    if (table.playerTotal <= kBestTotal || split.secondHandTotal <= kBestTotal)
        dealerBlackjack = dealerHandIsBlackjack(game, split);
    if (table.dealerTotal > kBestTotal)
        writeAt(game, 58, kTotalsRow, "DEALER BUST");
    settleHands(game, split, dealerBlackjack);
}
