// The key prompts of a round, all in the prompt field (row 20 from column 33): each erases
// the field, waits 200 ms, writes its question and reads a key folded to lower case, and asks
// again until one of its keys comes. A special key counts as two presses (Up arrow answers h).
// On an answer the field is erased. When the input has ended they throw InputEnded.
#pragma once

#include "table/game.h"

#include <string_view>

// Erases the prompt field: 40 spaces at (33, 20); the cursor stays behind them, at column 73.
void erasePromptField(Game& game);

// Erases the prompt field, waits 200 ms with the cursor back at (33, 20) and writes the text
// there: how every question and message of the field appears.
void writePrompt(Game& game, std::string_view text);

char askStandHit(Game& game);         // 'h' or 's'
char askStandHitDouble(Game& game);   // 'h', 's' or 'd'
void askInsurance(Game& game);        // on y, insuranceBet becomes half the bet
