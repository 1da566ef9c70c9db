// Before play: the title screen with its three questions (instructions, sound effects, number
// of decks), then the seat screen that shows the bankroll and takes the first bet.
#pragma once

#include "table/game.h"

void showTitleScreen(Game& game);   // sets soundChoice and deckCount; Escape leaves the game
void takeSeat(Game& game);
