#include "table/bet_entry.h"

bool convertBetLine(std::string_view, int&) { return false; }
void enterBet(Game& game) { game.table.bet = 999; }
