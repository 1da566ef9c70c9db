// Settling a single-hand round: the outcome's message and cue, the insurance note, the change
// to bankroll (worked out in double precision, stored as float) and the bankroll line at
// (33, 22), written last. They read the totals, playerNatural, bet and insuranceBet as round
// play leaves them and change nothing but bankroll.
#pragma once

#include "table/game.h"

void settleBust(Game& game);            // the player or the dealer has busted
void settleComparison(Game& game);      // nobody bust, no blackjack: totals decide
void settleNaturals(Game& game);        // exactly one side holds blackjack
void settleBlackjackPush(Game& game);   // both hold blackjack
void showInsuranceWin(Game& game);      // "* You win on insurance *" at (31, 21)
void showInsuranceLoss(Game& game);     // "* You lose on insurance *" at (31, 21)
