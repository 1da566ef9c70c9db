// Taking a stake: "Place your bet  " in the prompt field, a typed line, its conversion into
// bet, and the range and bankroll checks with their messages until the stake is accepted.
// Leaves the stake in bet; 999 (typed, or the input having ended) asks to stop playing.
#pragma once

#include "table/game.h"

#include <string_view>

// The stake that asks to stop playing, and the table limits of every other stake.
inline constexpr int kQuitBet = 999;
inline constexpr int kMinimumBet = 5;
inline constexpr int kMaximumBet = 100;

// True while the bankroll can still pay the minimum stake (exactly $5 is enough).
bool coversMinimumBet(float bankroll);

// Reads a whole number at the start of a line as a C++ stream does in the classic locale
// (blanks, an optional sign, digits; the rest ignored). Returns true and sets value when the
// line holds one within the 32-bit range; otherwise leaves value as it was.
bool convertBetLine(std::string_view line, int& value);

void enterBet(Game& game);
