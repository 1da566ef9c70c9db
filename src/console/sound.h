// The sixteen sound cues and the files each plays, in order. playCue plays a cue to its end
// whatever the player chose; the game's own cue() (table/game.h) checks the sound answer.
#pragma once

#include "console/console.h"

#include <span>
#include <string_view>

enum class SoundCue {
    CueWin,
    CueLose,
    CuePush,
    CueOpening,
    CueChair,
    CueError,
    CueBlackjack,
    CueBroke,
    CueWinFinal,
    CueLoseFinal,
    CueEvenFinal,
    CueRiffle,
    CueTap,
    CueCoin,
    CueCard,
    CueGoodbye,
};

// The files of the data folder that a cue plays, in order.
std::span<const std::string_view> cueFiles(SoundCue cue);

// Every sound file of the game, each once.
std::span<const std::string_view> allSoundFiles();

// Plays the cue's files one after the other, each to its end; the goodbye has a 200 ms pause
// between its two files. Output written before is on the screen first.
void playCue(Console& console, SoundCue cue);
