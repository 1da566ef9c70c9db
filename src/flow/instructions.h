// The three pages of rules: C continues, B backs up, R returns to the set-up questions (on a
// cleared screen with "CORVALE BLACKJACK" at (28, 9)), Escape leaves the game.
#pragma once

#include "table/game.h"

void showInstructions(Game& game);
