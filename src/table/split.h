// A split round: the two hands of a split pair played one after the other on one screen, the
// dealer's hand once against both, and both hands settled with one of nine result messages.
// Called by round play after the player accepts the split; it owns the rest of the round.
#pragma once

#include "table/game.h"

void playSplit(Game& game);
