// The program on Windows: checks the console window's size, takes the console over, plays one
// game seeded with the calendar time, and gives the console back.
#include "console/windows_backend.h"
#include "flow/entry.h"
#include "table/game.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

int main()
{
    if (const std::string problem = consoleSizeProblem(); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    WindowsBackend backend;
    Game game(backend);
    const int status = runGame(game, static_cast<std::uint32_t>(std::time(nullptr)));
    backend.restoreConsole();
    return status;
}
