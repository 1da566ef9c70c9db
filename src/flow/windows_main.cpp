// The program on Windows: reads its command line, checks the console window's size, takes the
// console over, plays one game seeded with the calendar time, and gives the console back.
#include "console/sound_player.h"
#include "console/windows_backend.h"
#include "flow/command_line.h"
#include "flow/entry.h"
#include "table/game.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

int main(int argc, char* argv[])
{
    const CommandLineOutcome command = readCommandLine({argv + 1, argv + argc}, defaultDataFolders());
    if (!command.play)
        return printCommandLineOutcome(command);
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
