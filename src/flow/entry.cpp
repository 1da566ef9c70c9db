#include "flow/entry.h"

#include "flow/leaving.h"
#include "flow/setup.h"
#include "shoe/shoe.h"
#include "table/round_play.h"

int runGame(Game& game, std::uint32_t seed)
{
    try {
        seedRandom(game.shoe, seed);
        showTitleScreen(game);
        takeSeat(game);
        try {
            playRounds(game);
        } catch (const InputEnded&) {
            // The input ended in the middle of a round: that round stays unsettled.
        }
        sayFarewell(game);
        return 0;
    } catch (const GameExit& exit) {
        flushOutput(game.console);
        return exit.status;
    }
}
