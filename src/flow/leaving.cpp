#include "flow/leaving.h"

void leaveEarly(Game& game)
{
    clearScreen(game.console);
    moveTo(game.console, 19, 12);
    printText(game.console, "IT IS A SHAME THAT YOU MUST LEAVE SO SOON.");
    readKey(game.console);
    throw GameExit{0};
}

void sayFarewell(Game&) {}
