#include "table/round_play.h"

void playRounds(Game&) {}
