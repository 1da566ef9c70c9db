#include "table/settlement.h"

#include "table/hand.h"

namespace {

constexpr int kOutcomeColumn = 33;
constexpr int kOutcomeRow = 18;
constexpr int kBankrollColumn = 33;
constexpr int kBankrollRow = 22;
constexpr int kInsuranceColumn = 31;
constexpr int kInsuranceRow = 21;
constexpr int kShortPauseMs = 200;
constexpr int kLongPauseMs = 1000;

// Money is worked out in double precision from the whole-dollar bet and the float amounts,
// then stored back as a float; every amount that arises is a whole or half dollar.
float changedBankroll(float bankroll, double change)
{
    return static_cast<float>(static_cast<double>(bankroll) + change);
}

void showBankroll(Game& game)
{
    moveTo(game.console, kBankrollColumn, kBankrollRow);
    printText(game.console, "Bankroll is $");
    printMoney(game.console, game.table.bankroll);
}

// Insurance only pays on a dealer blackjack, so any other ending loses it.
void noteInsuranceLost(Game& game)
{
    if (game.table.insuranceBet > 0.0f)
        showInsuranceLoss(game);
}

} // namespace

void settleBust(Game& game)
{
    TableState& table = game.table;
    pauseMs(game.console, kLongPauseMs);
    moveTo(game.console, kOutcomeColumn, kOutcomeRow);
    if (table.dealerTotal > kBestTotal) {
        cue(game, SoundCue::CueWin);
        printText(game.console, "Dealer busts - you win with ");
        printInt(game.console, table.playerTotal);
        noteInsuranceLost(game);
        table.bankroll = changedBankroll(table.bankroll,
            static_cast<double>(table.bet) - static_cast<double>(table.insuranceBet));
    } else {
        // After a player bust round play has already settled any insurance into the bet.
        cue(game, SoundCue::CueLose);
        printText(game.console, "You bust with ");
        printInt(game.console, table.playerTotal);
        table.bankroll = changedBankroll(table.bankroll, -static_cast<double>(table.bet));
    }
    pauseMs(game.console, kLongPauseMs);
    showBankroll(game);
}

void settleComparison(Game& game)
{
    TableState& table = game.table;
    pauseMs(game.console, kLongPauseMs);
    table.bankroll = changedBankroll(table.bankroll, -static_cast<double>(table.insuranceBet));
    moveTo(game.console, kOutcomeColumn, kOutcomeRow);
    if (table.playerTotal > table.dealerTotal) {
        cue(game, SoundCue::CueWin);
        printText(game.console, "You beat the dealer with ");
        printInt(game.console, table.playerTotal);
        table.bankroll = changedBankroll(table.bankroll, static_cast<double>(table.bet));
    } else if (table.dealerTotal > table.playerTotal) {
        cue(game, SoundCue::CueLose);
        printText(game.console, "Dealer wins with ");
        printInt(game.console, table.dealerTotal);
        table.bankroll = changedBankroll(table.bankroll, -static_cast<double>(table.bet));
    } else {
        cue(game, SoundCue::CuePush);
        printText(game.console, "It is a push at ");
        printInt(game.console, table.playerTotal);
    }
    noteInsuranceLost(game);
    pauseMs(game.console, kLongPauseMs);
    showBankroll(game);
}

void settleNaturals(Game& game)
{
    TableState& table = game.table;
    pauseMs(game.console, kShortPauseMs);
    if (table.playerNatural == 1 && table.dealerTotal != kBestTotal) {
        cue(game, SoundCue::CueBlackjack);
        // Round play leaves the cursor behind the last card name, so this follows it.
        printText(game.console, "You have blackjack");
        moveTo(game.console, 1, 19);
        printText(game.console, "You win with blackjack");
        table.bankroll = changedBankroll(table.bankroll, 1.5 * static_cast<double>(table.bet));
        pauseMs(game.console, kShortPauseMs);
        showBankroll(game);
    } else if (table.playerNatural == 0 && table.dealerTotal == kBestTotal) {
        cue(game, SoundCue::CueLose);
        moveTo(game.console, 41, 19);
        printText(game.console, "Dealer wins with blackjack");
        if (table.insuranceBet > 0.0f)
            showInsuranceWin(game);
        // Insurance pays 2 to 1 on its stake, which was never taken from the bankroll.
        table.bankroll = changedBankroll(table.bankroll, -static_cast<double>(table.bet));
        table.bankroll = changedBankroll(table.bankroll, 2.0 * static_cast<double>(table.insuranceBet));
        pauseMs(game.console, kLongPauseMs);
        showBankroll(game);
    }
}

void settleBlackjackPush(Game& game)
{
    moveTo(game.console, 1, 19);
    cue(game, SoundCue::CueBlackjack);
    printText(game.console, "You have  blackjack");
    pauseMs(game.console, kShortPauseMs);
    cue(game, SoundCue::CuePush);
    pauseMs(game.console, kShortPauseMs);
    moveTo(game.console, kOutcomeColumn, kOutcomeRow);
    printText(game.console, "It is a blackjack push");
    pauseMs(game.console, kLongPauseMs);
    showBankroll(game);
}

void showInsuranceWin(Game& game)
{
    moveTo(game.console, kInsuranceColumn, kInsuranceRow);
    printText(game.console, "* You win on insurance *");
}

void showInsuranceLoss(Game& game)
{
    moveTo(game.console, kInsuranceColumn, kInsuranceRow);
    printText(game.console, "* You lose on insurance *");
}
