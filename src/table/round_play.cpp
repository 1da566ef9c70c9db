#include "table/round_play.h"

#include "console/keys.h"

#include "table/bet_entry.h"
#include "table/hand.h"
#include "table/prompts.h"
#include "table/settlement.h"
#include "table/split.h"

#include <string>

namespace {


constexpr int kCardColumn = 33;
constexpr int kPlayerFirstRow = 3;
constexpr int kPlayerSecondRow = 4;
constexpr int kDealerUpRow = 11;
constexpr int kTotalsRow = 19;
constexpr int kPaceMs = 200;
constexpr int kInsuranceCardPauseMs = 500;

// The working values of one round.
struct Round {
    char decision = 's';               // the last answer to a decision prompt: 's', 'h' or 'd'
    int playerRow = kPlayerSecondRow;  // row of the player's last card
};

void startRound(Game& game)
{
    TableState& table = game.table;
    table.playerTotal = 0;
    table.dealerTotal = 0;
    table.playerSoftAces = 0;
    table.dealerSoftAces = 0;
    table.playerNatural = 0;
    table.insuranceBet = 0.0f;
    clearScreen(game.console);
}

void showDealtCard(Game& game, int column, int row, const std::string& name)
{
    cue(game, SoundCue::CueCard);
    moveTo(game.console, column, row);
    printText(game.console, name);
}

// Two cards to the player and the dealer's up card. Only the first card of a round may bring
// a reshuffle of the shoe (with its own screen, cleared again before the card is shown).
void dealOpeningCards(Game& game)
{
    TableState& table = game.table;
    table.roundOpen = 0;
    dealCard(game);
    table.roundOpen = 1;
    table.playerFirstName = table.drawnCardName;
    table.playerFirstValue = table.drawnCardValue;
    cue(game, SoundCue::CueCard);
    moveTo(game.console, 22, kPlayerFirstRow);
    printText(game.console, "You have:  ");
    moveTo(game.console, kCardColumn, kPlayerFirstRow);
    printText(game.console, table.playerFirstName);

    dealCard(game);
    table.playerSecondName = table.drawnCardName;
    table.playerSecondValue = table.drawnCardValue;
    showDealtCard(game, kCardColumn, kPlayerSecondRow, table.playerSecondName);

    dealCard(game);
    table.dealerUpName = table.drawnCardName;
    table.dealerUpValue = table.drawnCardValue;
    cue(game, SoundCue::CueCard);
    moveTo(game.console, 24, kDealerUpRow);
    printText(game.console, "Dealer:  ");
    moveTo(game.console, kCardColumn, kDealerUpRow);
    printText(game.console, table.dealerUpName);
}

// Any pair of aces or of 2s to 9s may be split; ten-value cards only as two of one rank (two
// kings, not a king and a queen) and only while the bankroll covers both stakes.
bool splitOffered(const TableState& table)
{
    if (table.playerFirstValue != table.playerSecondValue)
        return false;
    if (table.playerFirstValue != kTenValue)
        return true;
    return table.playerFirstName.front() == table.playerSecondName.front()
        && coversTwiceStake(table.bankroll, table.bet);
}

// The split question stays on the prompt line after a 'n' until the next prompt erases it.
char askSplit(Game& game)
{
    for (;;) {
        writePrompt(game, "Do you want to split this pair?  Y or N  ");
        const int key = readKey(game.console);
        if (key == kEndOfInput)
            throw InputEnded{};
        const int answer = lowerCaseKey(key);
        if (answer == 'y' || answer == 'n')
            return static_cast<char>(answer);
    }
}

void formOpeningTotals(TableState& table)
{
    startHand(table.playerTotal, table.playerSoftAces, table.playerFirstValue,
              table.playerSecondValue);
    table.dealerTotal = table.dealerUpValue;
    table.dealerSoftAces = table.dealerUpValue == kAceValue ? 1 : 0;
}

// "You have " and the total at (1, 19), after erasing the old total and a short wait.
void showPlayerTotal(Game& game, int eraseWidth)
{
    moveTo(game.console, 1, kTotalsRow);
    printText(game.console, std::string(static_cast<size_t>(eraseWidth), ' '));
    pauseMs(game.console, kPaceMs);
    moveTo(game.console, 1, kTotalsRow);
    printText(game.console, "You have ");
    printInt(game.console, game.table.playerTotal);
}

// Insurance against a dealer ace, then stand, hit, or double down while the bankroll covers
// twice the bet.
void takeFirstDecision(Game& game, Round& round)
{
    showPlayerTotal(game, 13);
    if (game.table.dealerUpValue == kAceValue)
        askInsurance(game);
    round.decision = coversTwiceStake(game.table.bankroll, game.table.bet)
        ? askStandHitDouble(game)
        : askStandHit(game);
}

// Hits until the player stands or reaches 21; a double down doubles the bet and takes exactly
// one card, beside "Last card". Rows are not bounded: a seventh hit lands on the dealer's row.
void playPlayerHand(Game& game, Round& round)
{
    TableState& table = game.table;
    while (table.playerTotal < kBestTotal && (round.decision == 'h' || round.decision == 'd')) {
        ++round.playerRow;
        dealCard(game);
        if (round.decision == 'd') {
            table.bet *= 2;
            cue(game, SoundCue::CueCoin);
            moveTo(game.console, 22, 5);
            printText(game.console, "Last card");
            pauseMs(game.console, kPaceMs);
        }
        moveTo(game.console, kCardColumn, round.playerRow);
        cue(game, SoundCue::CueCard);
        printText(game.console, table.drawnCardName);
        addCardToHand(table.playerTotal, table.playerSoftAces, table.drawnCardValue);
        showPlayerTotal(game, 11);

        if (round.decision == 'd')
            return;
        if (table.playerTotal < kBestTotal)
            round.decision = askStandHit(game);
    }
}

// bet carries whole dollars into the bust settlement and the next bet prompt; the half dollar
// an odd stake's insurance leaves over comes off the bankroll here, so the round costs the
// player exactly what was lost.
void carryInsuranceIntoBet(TableState& table, double exactLoss)
{
    table.bet = static_cast<int>(exactLoss);
    table.bankroll = static_cast<float>(static_cast<double>(table.bankroll) - (exactLoss - table.bet));
}

// With insurance in force the dealer's second card is turned to settle it: a ten-value card
// makes the dealer's blackjack and the insurance pays 2 to 1 against the lost stake.
void settlePlayerBust(Game& game)
{
    TableState& table = game.table;
    moveTo(game.console, 14, kTotalsRow);
    printText(game.console, "YOU BUST");
    if (table.insuranceBet > 0.0f) {
        dealCard(game);
        pauseMs(game.console, kInsuranceCardPauseMs);
        moveTo(game.console, 24, kDealerUpRow);
        printText(game.console, "Dealer:  " + table.dealerUpName);
        moveTo(game.console, kCardColumn, kDealerUpRow + 1);
        cue(game, SoundCue::CueCard);
        printText(game.console, table.drawnCardName);
        const double stake = table.bet;
        const double insurance = table.insuranceBet;
        if (table.drawnCardValue == kTenValue) {
            moveTo(game.console, 31, 13);
            printText(game.console, "* DEALER HAS BLACKJACK *");
            showInsuranceWin(game);
            carryInsuranceIntoBet(table, stake - 2.0 * insurance);
        } else {
            showInsuranceLoss(game);
            carryInsuranceIntoBet(table, stake + insurance);
        }
    }
    settleBust(game);
}

// Plays the dealer's hand: the dealer draws to 17 (standing on a soft 17 too). The second card
// may end the round at once: a dealer blackjack, both blackjacks, or the player's blackjack
// against anything else. Returns true when the round was settled here.
bool dealerHandSettlesRound(Game& game, const Round& round)
{
    TableState& table = game.table;
    int dealerRow = kDealerUpRow;
    int dealerCards = 1;
    while (table.dealerTotal < kDealerStandsOn) {
        ++dealerRow;
        dealCard(game);
        if (dealerRow == kDealerUpRow + 1) {
            moveTo(game.console, 24, kDealerUpRow);
            printText(game.console, blankField);
            moveTo(game.console, 24, kDealerUpRow);
            pauseMs(game.console, kPaceMs);
            printText(game.console, "Dealer:  " + table.dealerUpName);
        }
        showDealtCard(game, kCardColumn, dealerRow, table.drawnCardName);
        ++dealerCards;
        // A two-card 21 is never softened, so the blackjack tests below see the same total
        // as before the ace rule; two aces end a blackjack hand either way.
        addCardToHand(table.dealerTotal, table.dealerSoftAces, table.drawnCardValue);
        if (dealerCards != 2)
            continue;

        const bool dealerBlackjack = table.dealerTotal == kBestTotal;
        if (dealerBlackjack && table.playerNatural == 0) {
            if (round.decision == 'd')
                table.bet /= 2;   // only the stake the round began with is lost
            moveTo(game.console, 31, 13);
            printText(game.console, "* DEALER HAS BLACKJACK *");
            settleNaturals(game);
            return true;
        }
        if (dealerBlackjack) {
            moveTo(game.console, 31, 13);
            printText(game.console, "* DEALER ALSO HAS BLACKJACK *");
            settleBlackjackPush(game);
            return true;
        }
        if (table.playerNatural == 1) {
            settleNaturals(game);
            return true;
        }
    }
    return false;
}

// A dealer bust always takes a third card: two cards make at most 21, or two aces soften to 12.
void settleAfterDealer(Game& game)
{
    TableState& table = game.table;
    pauseMs(game.console, kPaceMs);
    moveTo(game.console, 41, kTotalsRow);
    printText(game.console, "Dealer has ");
    printInt(game.console, table.dealerTotal);
    if (table.dealerTotal > kBestTotal) {
        moveTo(game.console, 57, kTotalsRow);
        printText(game.console, "DEALER BUST");
        settleBust(game);
        return;
    }
    settleComparison(game);
}

void playDealerAndSettle(Game& game, const Round& round)
{
    if (!dealerHandSettlesRound(game, round))
        settleAfterDealer(game);
}

void playRound(Game& game)
{
    TableState& table = game.table;
    startRound(game);
    dealOpeningCards(game);
    if (splitOffered(table) && askSplit(game) == 'y') {
        playSplit(game);
        return;
    }

    formOpeningTotals(table);
    Round round;
    if (table.playerTotal == kBestTotal) {
        table.playerNatural = 1;
        // Against a dealer 2 to 9 the blackjack is paid at once; against an ace or a ten-value
        // card the dealer's second card decides.
        if (table.dealerUpValue != kAceValue && table.dealerUpValue != kTenValue)
            settleNaturals(game);
        else
            playDealerAndSettle(game, round);
        return;
    }

    takeFirstDecision(game, round);
    playPlayerHand(game, round);
    if (table.playerTotal > kBestTotal)
        settlePlayerBust(game);
    else
        playDealerAndSettle(game, round);
}

} // namespace

void playRounds(Game& game)
{
    while (coversMinimumBet(game.table.bankroll) && game.table.bet != kQuitBet) {
        playRound(game);
        // The finished round stays on screen while the next stake is typed.
        if (coversMinimumBet(game.table.bankroll))
            enterBet(game);
    }
}
