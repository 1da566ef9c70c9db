// A game: the console it draws on, its one table and its one shoe. The program makes one and
// hands it down; tests make as many as they like, side by side.
#pragma once

#include "console/console.h"
#include "console/sound.h"
#include "shoe/shoe.h"
#include "table/table_state.h"

struct Game {
    explicit Game(ConsoleBackend& backend) : console{backend} {}

    Console console;
    TableState table;
    Shoe shoe;
};

// Plays a cue when the player asked for sound effects, and only then.
void cue(Game& game, SoundCue soundCue);

// Thrown when the input ends at a key prompt of a round: the round is abandoned unsettled
// and the farewell follows.
struct InputEnded {};

// Thrown to end the program at once with an exit status (the early exit).
struct GameExit {
    int status = 0;
};
