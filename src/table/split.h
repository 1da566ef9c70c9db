// A split round: the two hands of a split pair played one after the other on one screen, the
// dealer's hand once against both, and both hands settled with one of nine result messages.
// Called by round play after the player accepts the split; it owns the rest of the round.
#pragma once

#include "table/game.h"

void playSplit(Game& game);

enum class SplitOutcome { Win, Lose, Push };

// One split hand against the dealer: a bust loses even when the dealer busts too, and a dealer
// blackjack beats every hand, a 21 included. With both hands bust the dealer's total is 0.
SplitOutcome splitHandOutcome(int handTotal, int dealerTotal, bool dealerBlackjack);
