#include "table/game.h"

void cue(Game& game, SoundCue soundCue)
{
    if (game.table.soundChoice == 'y')
        playCue(game.console, soundCue);
}
