// The two ways out. leaveEarly: Escape before play; a message, any key, and the game ends with
// status 0 (it throws GameExit). sayFarewell: after the last round; the result against the
// starting $1000 with its cue, then Escape, then the goodbye cue.
#pragma once

#include "table/game.h"

[[noreturn]] void leaveEarly(Game& game);
void sayFarewell(Game& game);
