// The round loop: deal, split offer, player blackjack, insurance and decisions, the player's
// hits, the dealer's hand, settlement and the next bet, round after round while the bankroll
// covers the $5 minimum and the player has not asked to stop with 999.
#pragma once

#include "table/game.h"

void playRounds(Game& game);
