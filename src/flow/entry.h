// A whole game from the title to the farewell, on whatever console the Game draws on.
// Returns the program's exit status.
#pragma once

#include "table/game.h"

#include <cstdint>

int runGame(Game& game, std::uint32_t seed);
